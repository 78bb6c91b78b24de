#pragma once

#include <QDeadlineTimer>
#include <QMutex>
#include <QReadWriteLock>
#include <QWaitCondition>

// Qt's lock primitives as ThreadSanitizer should see them. Qt's headers
// announce QMutex lock and unlock to it, but the library itself is not
// instrumented: QReadWriteLock is out of line, so its ordering is invisible,
// and QWaitCondition::wait unlocks and relocks the mutex unseen, which makes
// the waiting thread look as if it held the mutex throughout. These lockers
// tell the sanitizer what the library does; without the sanitizer they are
// the plain Qt calls.
#if defined(__SANITIZE_THREAD__)
#define VORPAD_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VORPAD_TSAN 1
#endif
#endif

#ifdef VORPAD_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace Utils {

namespace Tsan {
#ifdef VORPAD_TSAN
inline constexpr unsigned ReadLock = __tsan_mutex_read_lock;
inline void preLock(void *lock, unsigned flags) { __tsan_mutex_pre_lock(lock, flags); }
inline void postLock(void *lock, unsigned flags) { __tsan_mutex_post_lock(lock, flags, 0); }
inline void preUnlock(void *lock, unsigned flags) { __tsan_mutex_pre_unlock(lock, flags); }
inline void postUnlock(void *lock, unsigned flags) { __tsan_mutex_post_unlock(lock, flags); }
#else
inline constexpr unsigned ReadLock = 0;
inline void preLock(void *, unsigned) {}
inline void postLock(void *, unsigned) {}
inline void preUnlock(void *, unsigned) {}
inline void postUnlock(void *, unsigned) {}
#endif
} // namespace Tsan

class ReadLocker
{
public:
    explicit ReadLocker(QReadWriteLock &lock) : m_lock(lock)
    {
        Tsan::preLock(&m_lock, Tsan::ReadLock);
        m_lock.lockForRead();
        Tsan::postLock(&m_lock, Tsan::ReadLock);
    }
    ~ReadLocker()
    {
        Tsan::preUnlock(&m_lock, Tsan::ReadLock);
        m_lock.unlock();
        Tsan::postUnlock(&m_lock, Tsan::ReadLock);
    }
    ReadLocker(const ReadLocker &) = delete;
    ReadLocker &operator=(const ReadLocker &) = delete;

private:
    QReadWriteLock &m_lock;
};

class WriteLocker
{
public:
    explicit WriteLocker(QReadWriteLock &lock) : m_lock(lock)
    {
        Tsan::preLock(&m_lock, 0);
        m_lock.lockForWrite();
        Tsan::postLock(&m_lock, 0);
    }
    ~WriteLocker()
    {
        Tsan::preUnlock(&m_lock, 0);
        m_lock.unlock();
        Tsan::postUnlock(&m_lock, 0);
    }
    WriteLocker(const WriteLocker &) = delete;
    WriteLocker &operator=(const WriteLocker &) = delete;

private:
    QReadWriteLock &m_lock;
};

// A QMutexLocker whose wait on a condition is visible as unlock and relock.
class MutexLocker
{
public:
    explicit MutexLocker(QMutex &mutex) : m_mutex(mutex) { m_mutex.lock(); }
    ~MutexLocker() { m_mutex.unlock(); }

    bool wait(QWaitCondition &condition, QDeadlineTimer deadline)
    {
        Tsan::preUnlock(&m_mutex, 0);
        Tsan::postUnlock(&m_mutex, 0);
        const bool woken = condition.wait(&m_mutex, deadline);
        Tsan::preLock(&m_mutex, 0);
        Tsan::postLock(&m_mutex, 0);
        return woken;
    }
    MutexLocker(const MutexLocker &) = delete;
    MutexLocker &operator=(const MutexLocker &) = delete;

private:
    QMutex &m_mutex;
};

} // namespace Utils

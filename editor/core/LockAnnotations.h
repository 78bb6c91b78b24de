#pragma once

#include <QMutex>
#include <QReadWriteLock>
#include <QWaitCondition>

// Qt's lock and wait primitives live in a library that ThreadSanitizer does
// not see into, so without help it cannot tell that they order memory. These
// lockers take the Qt primitive as usual and, under ThreadSanitizer only, tell
// it what the primitive did: acquire after locking, release before unlocking.
#if defined(__SANITIZE_THREAD__)
#define VORPAD_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VORPAD_TSAN 1
#endif
#endif

#ifdef VORPAD_TSAN
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
#endif

namespace Utils {

inline void annotateAcquire([[maybe_unused]] void *lock)
{
#ifdef VORPAD_TSAN
    __tsan_acquire(lock);
#endif
}

inline void annotateRelease([[maybe_unused]] void *lock)
{
#ifdef VORPAD_TSAN
    __tsan_release(lock);
#endif
}

class ReadLocker
{
public:
    explicit ReadLocker(QReadWriteLock &lock)
        : m_lock(lock)
    {
        m_lock.lockForRead();
        annotateAcquire(&m_lock);
    }
    ~ReadLocker()
    {
        annotateRelease(&m_lock);
        m_lock.unlock();
    }
    ReadLocker(const ReadLocker &) = delete;
    ReadLocker &operator=(const ReadLocker &) = delete;

private:
    QReadWriteLock &m_lock;
};

class WriteLocker
{
public:
    explicit WriteLocker(QReadWriteLock &lock)
        : m_lock(lock)
    {
        m_lock.lockForWrite();
        annotateAcquire(&m_lock);
    }
    ~WriteLocker()
    {
        annotateRelease(&m_lock);
        m_lock.unlock();
    }
    WriteLocker(const WriteLocker &) = delete;
    WriteLocker &operator=(const WriteLocker &) = delete;

private:
    QReadWriteLock &m_lock;
};

class MutexLocker
{
public:
    explicit MutexLocker(QMutex &mutex)
        : m_mutex(mutex)
    {
        m_mutex.lock();
        annotateAcquire(&m_mutex);
    }
    ~MutexLocker()
    {
        annotateRelease(&m_mutex);
        m_mutex.unlock();
    }
    // Waits on the condition, which unlocks and relocks the mutex.
    bool wait(QWaitCondition &condition, QDeadlineTimer deadline)
    {
        annotateRelease(&m_mutex);
        const bool woken = condition.wait(&m_mutex, deadline);
        annotateAcquire(&m_mutex);
        return woken;
    }
    MutexLocker(const MutexLocker &) = delete;
    MutexLocker &operator=(const MutexLocker &) = delete;

private:
    QMutex &m_mutex;
};

} // namespace Utils

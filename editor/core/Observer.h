#pragma once

#include <vector>

// Change notification between model objects: a subject is a token embedded in
// the object that changes; one process-wide registry keeps, per subject, its
// observers in attach order. Everything here runs on the GUI thread.
namespace Utils {

class Observer
{
public:
    virtual ~Observer();
    virtual void update() = 0;

protected:
    Observer() = default;
    Observer(const Observer &) = delete;
    Observer &operator=(const Observer &) = delete;
};

class Subject
{
public:
    Subject() = default;
    ~Subject();

    void attach(Observer *observer);
    void detach(Observer *observer);
    // Calls update on every attached observer, in attach order. Observers must
    // not attach to or detach from this subject while it notifies.
    void notify();
    std::size_t observerCount() const;

    Subject(const Subject &) = delete;
    Subject &operator=(const Subject &) = delete;
};

template <class T>
class ProxyObserver : public Observer
{
public:
    using Function = void (T::*)();
    ProxyObserver(T *target, Function function)
        : m_target(target)
        , m_function(function)
    {
    }
    void update() override { (m_target->*m_function)(); }

private:
    T *m_target;
    Function m_function;
};

template <class T, class K>
class ProxyMapObserver : public Observer
{
public:
    using Function = void (T::*)(K);
    ProxyMapObserver(T *target, Function function, K key)
        : m_target(target)
        , m_function(function)
        , m_key(key)
    {
    }
    void update() override { (m_target->*m_function)(m_key); }

private:
    T *m_target;
    Function m_function;
    K m_key;
};

} // namespace Utils

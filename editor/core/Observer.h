#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace Utils {

class Subject;

// Receives the notifications of the subjects it is attached to. Destroying an
// observer detaches it from every subject, so no subject can call a dead one.
class Observer
{
public:
    Observer() = default;
    virtual ~Observer();
    virtual void update() = 0;

    Observer(const Observer &) = delete;
    Observer &operator=(const Observer &) = delete;
};

// A token embedded in an object that changes. Its observers live in the
// process-wide registry; destroying the subject drops its list.
class Subject
{
public:
    Subject() = default;
    ~Subject();

    void attach(Observer *observer);
    void detach(Observer *observer);
    // Calls every attached observer in attach order.
    void notify() const;
    std::size_t observerCount() const;

    Subject(const Subject &) = delete;
    Subject &operator=(const Subject &) = delete;
};

// Maps each subject to its observers in attach order, and each observer to the
// subjects it is attached to (so an observer detaches itself in one pass).
class SubjectRegistry
{
public:
    static SubjectRegistry &instance();

    void attach(const Subject *subject, Observer *observer);
    void detach(const Subject *subject, Observer *observer);
    void notify(const Subject *subject);
    void dropSubject(const Subject *subject);
    void dropObserver(Observer *observer);
    int observerCount(const Subject *subject) const;

private:
    SubjectRegistry() = default;

    std::unordered_map<const Subject *, std::vector<Observer *>> m_observers;
    std::unordered_map<Observer *, std::vector<const Subject *>> m_subjects;
};

// Forwards update() to a member function of its owner.
template <typename T>
class ProxyObserver : public Observer
{
public:
    using Method = void (T::*)();

    ProxyObserver(T *owner, Method method) : m_owner(owner), m_method(method) {}

    void update() override { (m_owner->*m_method)(); }

private:
    T *m_owner;
    Method m_method;
};

// Forwards update() to a member function of its owner with a fixed key, so one
// owner can tell many subjects apart.
template <typename T, typename K>
class ProxyMapObserver : public Observer
{
public:
    using Method = void (T::*)(K);

    ProxyMapObserver(T *owner, Method method, K key) : m_owner(owner), m_method(method), m_key(key) {}

    void update() override { (m_owner->*m_method)(m_key); }

private:
    T *m_owner;
    Method m_method;
    K m_key;
};

} // namespace Utils

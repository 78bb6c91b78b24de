#pragma once

#include "Observer.h"

namespace Utils {

// Forwards update() to a member function of its owner.
template<typename T>
class ProxyObserver : public Observer
{
public:
    using Method = void (T::*)();

    ProxyObserver(T *owner, Method method)
        : m_owner(owner)
        , m_method(method)
    {
    }

    void update() override { (m_owner->*m_method)(); }

private:
    T *m_owner;
    Method m_method;
};

// Forwards update() to a member function of its owner with a fixed key, so one
// owner can tell many subjects apart.
template<typename T, typename K>
class ProxyMapObserver : public Observer
{
public:
    using Method = void (T::*)(K);

    ProxyMapObserver(T *owner, Method method, K key)
        : m_owner(owner)
        , m_method(method)
        , m_key(key)
    {
    }

    void update() override { (m_owner->*m_method)(m_key); }

private:
    T *m_owner;
    Method m_method;
    K m_key;
};

} // namespace Utils

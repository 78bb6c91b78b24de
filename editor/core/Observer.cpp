#include "editor/core/Observer.h"

#include <algorithm>

namespace Utils {

namespace {

template <typename Map, typename Key, typename Value>
void eraseOne(Map &map, const Key &key, const Value &value)
{
    auto it = map.find(key);
    if (it == map.end())
        return;
    auto &list = it->second;
    auto pos = std::find(list.begin(), list.end(), value);
    if (pos != list.end())
        list.erase(pos);
    if (list.empty())
        map.erase(it);
}

} // namespace

Observer::~Observer() { SubjectRegistry::instance().dropObserver(this); }

Subject::~Subject() { SubjectRegistry::instance().dropSubject(this); }

void Subject::attach(Observer *observer) { SubjectRegistry::instance().attach(this, observer); }

void Subject::detach(Observer *observer) { SubjectRegistry::instance().detach(this, observer); }

void Subject::notify() const { SubjectRegistry::instance().notify(this); }

std::size_t Subject::observerCount() const { return std::size_t(SubjectRegistry::instance().observerCount(this)); }

SubjectRegistry &SubjectRegistry::instance()
{
    // Never destroyed: subjects and observers of process-wide objects that
    // outlive main can still leave it.
    static SubjectRegistry *registry = new SubjectRegistry;
    return *registry;
}

void SubjectRegistry::attach(const Subject *subject, Observer *observer)
{
    if (!subject || !observer)
        return;
    m_observers[subject].push_back(observer);
    m_subjects[observer].push_back(subject);
}

void SubjectRegistry::detach(const Subject *subject, Observer *observer)
{
    eraseOne(m_observers, subject, observer);
    eraseOne(m_subjects, observer, subject);
}

void SubjectRegistry::notify(const Subject *subject)
{
    // Walk by position and look the list up again after every call: an
    // observer that breaks the rule and attaches or detaches during the
    // notification must not leave us with a dangling iterator.
    for (std::size_t i = 0;; ++i) {
        auto it = m_observers.find(subject);
        if (it == m_observers.end() || i >= it->second.size())
            return;
        it->second[i]->update();
    }
}

void SubjectRegistry::dropSubject(const Subject *subject)
{
    auto it = m_observers.find(subject);
    if (it == m_observers.end())
        return;
    std::vector<Observer *> observers = std::move(it->second);
    m_observers.erase(it);
    for (Observer *observer : observers)
        eraseOne(m_subjects, observer, subject);
}

void SubjectRegistry::dropObserver(Observer *observer)
{
    auto it = m_subjects.find(observer);
    if (it == m_subjects.end())
        return;
    std::vector<const Subject *> subjects = std::move(it->second);
    m_subjects.erase(it);
    for (const Subject *subject : subjects)
        eraseOne(m_observers, subject, observer);
}

int SubjectRegistry::observerCount(const Subject *subject) const
{
    auto it = m_observers.find(subject);
    return it == m_observers.end() ? 0 : int(it->second.size());
}

} // namespace Utils

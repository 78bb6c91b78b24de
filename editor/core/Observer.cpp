#include "Observer.h"

#include <algorithm>
#include <map>

namespace Utils {

namespace {

// The registry: created on first use, never destroyed, so subjects and
// observers that outlive main can still leave it.
class Registry
{
public:
    static Registry &instance()
    {
        static Registry *registry = new Registry;
        return *registry;
    }

    std::vector<Observer *> &listOf(const Subject *subject) { return m_lists[subject]; }
    const std::vector<Observer *> *find(const Subject *subject) const
    {
        const auto it = m_lists.find(subject);
        return it == m_lists.end() ? nullptr : &it->second;
    }
    void drop(const Subject *subject) { m_lists.erase(subject); }
    void dropObserver(Observer *observer)
    {
        for (auto &[subject, list] : m_lists)
            list.erase(std::remove(list.begin(), list.end(), observer), list.end());
    }

private:
    std::map<const Subject *, std::vector<Observer *>> m_lists;
};

} // namespace

Observer::~Observer()
{
    Registry::instance().dropObserver(this);
}

Subject::~Subject()
{
    Registry::instance().drop(this);
}

void Subject::attach(Observer *observer)
{
    Registry::instance().listOf(this).push_back(observer);
}

void Subject::detach(Observer *observer)
{
    std::vector<Observer *> &list = Registry::instance().listOf(this);
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

void Subject::notify()
{
    const std::vector<Observer *> *list = Registry::instance().find(this);
    if (!list)
        return;
    for (std::size_t i = 0; i < list->size(); ++i)
        (*list)[i]->update();
}

std::size_t Subject::observerCount() const
{
    const std::vector<Observer *> *list = Registry::instance().find(this);
    return list ? list->size() : 0;
}

} // namespace Utils

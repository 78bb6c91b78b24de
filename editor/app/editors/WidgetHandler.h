#pragma once

#include <memory>
#include <vector>

// Shows the state of its parameters in its widget. Handlers that take widget
// signals also derive from QObject.
class WidgetHandler
{
public:
    WidgetHandler() = default;
    virtual ~WidgetHandler();
    virtual void update() = 0;

    WidgetHandler(const WidgetHandler &) = delete;
    WidgetHandler &operator=(const WidgetHandler &) = delete;
};

// The handlers of one editor view, in the order they were built. The view
// owns them and deletes them with itself.
class HandlerList
{
public:
    // Takes ownership; a null handler is not added.
    void add(WidgetHandler *handler);
    void updateAll();
    int size() const { return int(m_handlers.size()); }
    WidgetHandler *at(int index) const { return m_handlers.at(std::size_t(index)).get(); }

private:
    std::vector<std::unique_ptr<WidgetHandler>> m_handlers;
};

#pragma once

#include <QDomElement>
#include <QHash>
#include <QString>

namespace Oxa {

// Walks the child elements of a node in document order and hands each to
// the member function registered for its tag. Other tags, text and comments
// are passed over. A repeated tag runs its handler once per occurrence, so a
// handler that stores a single value keeps the last one.
template <class Target>
class DomElementParser
{
public:
    using Handler = void (Target::*)(const QDomElement &);

    explicit DomElementParser(Target &target) : m_target(target) {}

    DomElementParser &add(const QString &tag, Handler handler)
    {
        m_handlers.insert(tag, handler);
        return *this;
    }

    void parse(const QDomNode &parent) const
    {
        for (QDomElement child = parent.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
            const auto it = m_handlers.constFind(child.tagName());
            if (it != m_handlers.constEnd())
                (m_target.*(it.value()))(child);
        }
    }

private:
    Target &m_target;
    QHash<QString, Handler> m_handlers;
};

} // namespace Oxa

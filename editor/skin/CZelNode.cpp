#include "editor/skin/CZelNode.h"

namespace {

// Walks the tag children of the node from the last one backwards, then those
// of each enclosing element, until an element without such children is met.
// The visitor returns true to stop the walk.
template <typename Visitor>
void walkProperties(const QDomElement &node, const QString &tag, Visitor visit)
{
    for (QDomElement element = node; !element.isNull(); element = element.parentNode().toElement()) {
        QDomElement property = element.lastChildElement(tag);
        if (property.isNull())
            return;
        for (; !property.isNull(); property = property.previousSiblingElement(tag)) {
            if (visit(property.firstChildElement(QStringLiteral("key")).text(),
                      property.firstChildElement(QStringLiteral("value")).text()))
                return;
        }
    }
}

} // namespace

QString CZelNode::property(const QString &name, const QString &tag) const
{
    QString result;
    if (name.isEmpty() || tag.isEmpty() || isNull())
        return result;
    walkProperties(m_element, tag, [&](const QString &key, const QString &value) {
        if (key.isEmpty() || key != name)
            return false;
        result = value;
        return true;
    });
    return result;
}

CZelDatabase<QString, QString> CZelNode::properties(const QString &tag) const
{
    CZelDatabase<QString, QString> result;
    if (tag.isEmpty() || isNull())
        return result;
    walkProperties(m_element, tag, [&](const QString &key, const QString &value) {
        if (!key.isEmpty() && !value.isEmpty() && !result.contains(key))
            result.insert(key, value);
        return false;
    });
    return result;
}

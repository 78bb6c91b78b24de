#pragma once

#include "editor/skin/CZelDatabase.h"

#include <QDomElement>
#include <QString>

// A handle on one node element of the nodes file. Properties are looked up
// with inheritance: within one node the last definition wins, and a node's own
// definition wins over its ancestors'.
class CZelNode
{
public:
    CZelNode() = default;
    explicit CZelNode(const QDomElement &element) : m_element(element) {}

    bool isNull() const { return m_element.isNull(); }
    QDomElement element() const { return m_element; }

    QString property(const QString &name, const QString &tag = QStringLiteral("property")) const;
    CZelDatabase<QString, QString> properties(const QString &tag = QStringLiteral("property")) const;

private:
    QDomElement m_element;
};

#include "editor/skin/CZelXmlReader.h"

#include "editor/skin/CZelSkinMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace CZelXmlReader {

static QString titleOf(QIODevice *device, const QString &defaultTitle)
{
    if (const auto *file = qobject_cast<QFile *>(device); file && !file->fileName().isEmpty())
        return QFileInfo(file->fileName()).fileName();
    return defaultTitle;
}

QDomElement readRoot(QIODevice *device, const QString &rootTag, const QString &defaultTitle)
{
    if (!device)
        return {};
    if (!device->isOpen() && !device->open(QIODevice::ReadOnly | QIODevice::Text))
        return {};

    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(device, &message, &line, &column)) {
        CZelSkinMessages::show(
            CZelSkinMessages::Kind::Information, titleOf(device, defaultTitle),
            QStringLiteral("Parse error at line %1, column %2:\n%3").arg(line).arg(column).arg(message));
        return {};
    }
    if (device->isOpen())
        device->close();

    QDomElement root = document.documentElement();
    if (root.tagName() != rootTag)
        return {};
    return root;
}

QString childText(const QDomElement &element, const QString &name) { return element.firstChildElement(name).text(); }

QList<QDomElement> descendants(const QDomElement &parent, const QString &tag)
{
    QList<QDomElement> result;
    const QDomNodeList nodes = parent.elementsByTagName(tag);
    result.reserve(nodes.size());
    for (int i = 0; i < nodes.size(); ++i)
        result.append(nodes.at(i).toElement());
    return result;
}

QList<QDomElement> entries(const QDomElement &root, const QString &entryTag, const QString &group,
                           QList<QDomElement> *groupOf)
{
    QList<QDomElement> result;
    if (group.isEmpty()) {
        for (QDomElement e = root.firstChildElement(entryTag); !e.isNull(); e = e.nextSiblingElement(entryTag)) {
            result.append(e);
            if (groupOf)
                groupOf->append(root);
        }
        return result;
    }
    for (const QDomElement &g : descendants(root, QStringLiteral("group"))) {
        if (g.attribute(QStringLiteral("name")) != group)
            continue;
        for (const QDomElement &e : descendants(g, entryTag)) {
            result.append(e);
            if (groupOf)
                groupOf->append(g);
        }
    }
    return result;
}

} // namespace CZelXmlReader

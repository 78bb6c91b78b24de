#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>

class QIODevice;

// The steps every skin reader shares: opening, parsing with the error box,
// the root-tag check and the group selection of entries.
namespace CZelXmlReader {

// Opens (text mode) and parses the device; returns the document element when
// its tag is rootTag, a null element otherwise. A parse error is reported with
// the file's short name (defaultTitle when the device is not a file).
QDomElement readRoot(QIODevice *device, const QString &rootTag, const QString &defaultTitle);

// The text of the first child element called name; empty when there is none.
QString childText(const QDomElement &element, const QString &name);

// Entries of tag entryTag: the root's direct children for an empty group, else
// every entry at any depth under each group named group (in document order).
// groupOf, when given, receives the group element of each entry (or the root).
QList<QDomElement> entries(const QDomElement &root, const QString &entryTag, const QString &group,
                           QList<QDomElement> *groupOf = nullptr);

// Every element of tag under parent at any depth, in document order.
QList<QDomElement> descendants(const QDomElement &parent, const QString &tag);

} // namespace CZelXmlReader

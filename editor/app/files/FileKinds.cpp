#include "editor/app/files/FileKinds.h"

namespace {

QString suffixOf(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot + 1);
}

} // namespace

bool isPatchFile(const QString &path) { return suffixOf(path) == QLatin1String("vpp"); }

bool isBankFile(const QString &path) { return suffixOf(path) == QLatin1String("vpb"); }

QString zonesPartNotice(ZonesPart part)
{
    if (part == ZonesPart::Complete)
        return {};
    return QString::fromLatin1(part == ZonesPart::Missing ? ZonesMissingText : ZonesIncompleteText);
}

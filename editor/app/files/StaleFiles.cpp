#include "editor/app/files/StaleFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace StaleFiles {

namespace {

constexpr int TemporaryTagLength = 6;

bool isStale(const QFileInfo &info)
{
    return info.isFile() && !info.isSymLink() &&
           info.lastModified().secsTo(QDateTime::currentDateTime()) > MinimumAgeSeconds;
}

void removeIfStale(const QFileInfo &info)
{
    if (isStale(info))
        QFile::remove(info.filePath());
}

} // namespace

bool isTemporaryOf(const QString &name, const QString &base)
{
    if (name.size() != base.size() + 1 + TemporaryTagLength || !name.startsWith(base + QLatin1Char('.')))
        return false;
    const QString tag = name.right(TemporaryTagLength);
    return std::all_of(tag.begin(), tag.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; });
}

void removeTemporariesOf(const QString &target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    const QFileInfoList candidates =
        info.dir().entryInfoList({name + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &candidate : candidates) {
        if (isTemporaryOf(candidate.fileName(), name))
            removeIfStale(candidate);
    }
}

void removeBrokenPairs(const QString &folder, bool (*isOurs)(const QString &baseName), const QString &firstSuffix,
                       const QString &secondSuffix)
{
    const QDir dir(folder);
    const std::pair<QString, QString> pairs[] = {{firstSuffix, secondSuffix}, {secondSuffix, firstSuffix}};
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString name = entry.fileName();
        for (const auto &[own, partner] : pairs) {
            const qsizetype at = name.lastIndexOf(own);
            const QString base = name.left(at);
            if (at <= 0 || !isOurs(base))
                continue;
            const bool broken =
                name == base + own ? !QFileInfo::exists(dir.filePath(base + partner)) : isTemporaryOf(name, base + own);
            if (broken)
                removeIfStale(entry);
            break;
        }
    }
}

} // namespace StaleFiles

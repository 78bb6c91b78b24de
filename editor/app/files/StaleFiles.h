#pragma once

#include <QString>
#include <QStringList>

// What a save or backup that was killed leaves behind: the save file's
// temporary ("<file name>.XXXXXX" beside the target) and half of a backup
// pair. Removed by the next save or backup of the same target when over a
// minute old, so that a save running in another process keeps its own;
// nothing else is ever removed.
namespace StaleFiles {

inline constexpr int MinimumAgeSeconds = 60;

// Whether name is base followed by a dot and six letters or digits.
bool isTemporaryOf(const QString &name, const QString &base);

void removeTemporariesOf(const QString &target);

// In folder: the temporaries of files whose base name isOurs accepts with
// one of the suffixes, and such a file whose partner with the other suffix
// is missing.
void removeBrokenPairs(const QString &folder, bool (*isOurs)(const QString &baseName), const QString &firstSuffix,
                       const QString &secondSuffix);

} // namespace StaleFiles

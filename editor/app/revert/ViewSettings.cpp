#include "editor/app/revert/ViewSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace ViewSettings {
namespace {

constexpr char AutoSaveKey[] = "Preferences/Auto Save";
constexpr char StartupDeviceKey[] = "Preferences/Startup Device";
constexpr char NumberOfBackupsKey[] = "Revert/Number of Backups";
constexpr char BackupPathKey[] = "Revert/Backup Path";
constexpr char LastDeviceKey[] = "Settings/Last Device";

struct Store : QSettings {
    Store() { setFallbacksEnabled(false); }
};

// A stored integer inside lo..hi, otherwise the default.
int readInt(const char *key, int lo, int hi, int fallback)
{
    bool ok = false;
    const int value = Store().value(QLatin1String(key)).toInt(&ok);
    return ok && value >= lo && value <= hi ? value : fallback;
}

void writeInt(const char *key, int lo, int hi, int value)
{
    if (value >= lo && value <= hi)
        Store().setValue(QLatin1String(key), value);
}

} // namespace

int autoSave() { return readInt(AutoSaveKey, 0, 1, 1); }
void setAutoSave(int value) { writeInt(AutoSaveKey, 0, 1, value); }
int startupDevice() { return readInt(StartupDeviceKey, 0, 1, 1); }
void setStartupDevice(int value) { writeInt(StartupDeviceKey, 0, 1, value); }
int numberOfBackups() { return readInt(NumberOfBackupsKey, 0, 4, 1); }
void setNumberOfBackups(int value) { writeInt(NumberOfBackupsKey, 0, 4, value); }

QString backupPath()
{
    const QString path = Store().value(QLatin1String(BackupPathKey)).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? QDir::toNativeSeparators(path) : QString();
}

void setBackupPath(const QString &path) { Store().setValue(QLatin1String(BackupPathKey), path); }

void setLastDevice(const QString &name) { Store().setValue(QLatin1String(LastDeviceKey), name); }

} // namespace ViewSettings

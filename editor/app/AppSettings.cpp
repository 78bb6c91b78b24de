#include "editor/app/AppSettings.h"

#include "editor/app/revert/ViewSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr char LastDeviceKey[] = "Settings/Last Device";
constexpr char LastDeviceIdKey[] = "Settings/Last Device ID";
constexpr char LastFolderKey[] = "Settings/Last Folder";
constexpr char ShowPatchEditorKey[] = "Settings/Show Patch Editor";

constexpr int DefaultLastDeviceId = 127;

struct Store {
    Store() { settings.setFallbacksEnabled(false); }
    QSettings settings;
};

QVariant read(const char *key)
{
    Store store;
    return store.settings.value(QLatin1String(key));
}

void write(const char *key, const QVariant &value)
{
    Store store;
    store.settings.setValue(QLatin1String(key), value);
}

} // namespace

// The preferences that the device view and the revert backups share keep
// their rules in one place.
int AppSettings::autoSave() { return ViewSettings::autoSave(); }
void AppSettings::setAutoSave(int value) { ViewSettings::setAutoSave(value); }
int AppSettings::startupDevice() { return ViewSettings::startupDevice(); }
void AppSettings::setStartupDevice(int value) { ViewSettings::setStartupDevice(value); }
int AppSettings::numberOfBackups() { return ViewSettings::numberOfBackups(); }
void AppSettings::setNumberOfBackups(int value) { ViewSettings::setNumberOfBackups(value); }
QString AppSettings::backupPath() { return ViewSettings::backupPath(); }
void AppSettings::setBackupPath(const QString &path) { ViewSettings::setBackupPath(path); }

QString AppSettings::lastDevice() { return read(LastDeviceKey).toString(); }
void AppSettings::setLastDevice(const QString &name) { ViewSettings::setLastDevice(name); }

int AppSettings::lastDeviceId()
{
    const QVariant value = read(LastDeviceIdKey);
    bool ok = false;
    const int id = value.toInt(&ok);
    return value.isValid() && ok ? id : DefaultLastDeviceId;
}

QString AppSettings::lastFolder() { return read(LastFolderKey).toString(); }

void AppSettings::setLastFolderFromFile(const QString &filePath)
{
    const QDir folder = QFileInfo(filePath).absoluteDir();
    if (folder.exists())
        write(LastFolderKey, folder.absolutePath());
}

QString AppSettings::dialogStartFolder()
{
    const QString folder = lastFolder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

bool AppSettings::showPatchEditor()
{
    const QVariant value = read(ShowPatchEditorKey);
    if (!value.isValid())
        return true;
    // The store keeps text; only a clear yes or no counts.
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return true;
}

void AppSettings::setShowPatchEditor(bool shown) { write(ShowPatchEditorKey, shown); }

#include "editor/app/AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr char AutoSaveKey[] = "Preferences/Auto Save";
constexpr char StartupDeviceKey[] = "Preferences/Startup Device";
constexpr char NumberOfBackupsKey[] = "Revert/Number of Backups";
constexpr char BackupPathKey[] = "Revert/Backup Path";
constexpr char LastDeviceKey[] = "Settings/Last Device";
constexpr char LastDeviceIdKey[] = "Settings/Last Device ID";
constexpr char LastFolderKey[] = "Settings/Last Folder";
constexpr char ShowPatchEditorKey[] = "Settings/Show Patch Editor";
constexpr char LibraryCaptureKey[] = "Settings/Library Capture";

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

int readInt(const char *key, int defaultValue, int minimum, int maximum)
{
    const QVariant value = read(key);
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!value.isValid() || !ok || number < minimum || number > maximum)
        return defaultValue;
    return number;
}

void writeInt(const char *key, int value, int minimum, int maximum)
{
    if (value >= minimum && value <= maximum)
        write(key, value);
}

// A yes-or-no value, yes when missing.
bool flag(const char *key)
{
    const QVariant value = read(key);
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

} // namespace

int AppSettings::autoSave() { return readInt(AutoSaveKey, AutoStore, AskAlways, AutoStore); }
void AppSettings::setAutoSave(int value) { writeInt(AutoSaveKey, value, AskAlways, AutoStore); }

int AppSettings::startupDevice() { return readInt(StartupDeviceKey, LastDevice, DefaultDevice, LastDevice); }
void AppSettings::setStartupDevice(int value) { writeInt(StartupDeviceKey, value, DefaultDevice, LastDevice); }

int AppSettings::numberOfBackups() { return readInt(NumberOfBackupsKey, 1, 0, MaxBackups); }
void AppSettings::setNumberOfBackups(int value) { writeInt(NumberOfBackupsKey, value, 0, MaxBackups); }

QString AppSettings::backupPath()
{
    const QString path = read(BackupPathKey).toString();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return {};
    return QDir::toNativeSeparators(path);
}

void AppSettings::setBackupPath(const QString &path) { write(BackupPathKey, path); }

QString AppSettings::lastDevice() { return read(LastDeviceKey).toString(); }
void AppSettings::setLastDevice(const QString &name) { write(LastDeviceKey, name); }

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

bool AppSettings::showPatchEditor() { return flag(ShowPatchEditorKey); }

void AppSettings::setShowPatchEditor(bool shown) { write(ShowPatchEditorKey, shown); }

bool AppSettings::libraryCapture() { return flag(LibraryCaptureKey); }

void AppSettings::setLibraryCapture(bool on) { write(LibraryCaptureKey, on); }

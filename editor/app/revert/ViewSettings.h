#pragma once

#include <QString>

// The preferences the device view and the revert backups read and write, with
// their keys, defaults and read and write rules. Every access uses a fresh
// settings object with fall-backs off, so nothing is cached.
namespace ViewSettings {

// 0 = ask before storing a modified patch, 1 = store without asking.
int autoSave();
void setAutoSave(int value);
// 0 = connect the first device found at start-up, 1 = the device used last.
int startupDevice();
void setStartupDevice(int value);
// How many revert backups to keep, 0..4.
int numberOfBackups();
void setNumberOfBackups(int value);
// The backups folder with native separators, or empty when the stored path
// does not name an existing directory.
QString backupPath();
void setBackupPath(const QString &path);
void setLastDevice(const QString &name);

} // namespace ViewSettings

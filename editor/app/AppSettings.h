#pragma once

#include <QString>

// The editor's persistent settings. Every access opens the per-user store
// afresh with its fall-backs off (so a machine-wide value never stands in for
// a missing user value) and nothing is cached: another dialog or process that
// wrote a value is seen at the next read.
class AppSettings
{
public:
    static constexpr char OrganizationName[] = "Morvane Professional";
    static constexpr char ApplicationName[] = "ZEL Vorpad";

    enum AutoSave : int { AskAlways = 0, AutoStore = 1 };
    enum StartupDevice : int { DefaultDevice = 0, LastDevice = 1 };
    static constexpr int MaxBackups = 4;
    static constexpr int NoLastDeviceId = -1;

    // 0 or 1; anything else reads as 1, and only 0 or 1 is written.
    static int autoSave();
    static void setAutoSave(int value);
    static int startupDevice();
    static void setStartupDevice(int value);

    // 0..4; anything else reads as 1, and only 0..4 is written.
    static int numberOfBackups();
    static void setNumberOfBackups(int value);

    // The stored folder with native separators while it names an existing
    // directory; empty otherwise. Written unchanged.
    static QString backupPath();
    static void setBackupPath(const QString &path);

    static QString lastDevice();
    static void setLastDevice(const QString &name);
    // 127 when missing; -1 means there is no last device. Never written here.
    static int lastDeviceId();

    static QString lastFolder();
    // Records the folder of a file the user chose, when that folder exists.
    static void setLastFolderFromFile(const QString &filePath);
    // The folder file dialogs start in: the last folder while it exists,
    // otherwise the home folder.
    static QString dialogStartFolder();

    // Whether the editor keeps what it sees in the patch library; on by default.
    static bool libraryCapture();
    static void setLibraryCapture(bool on);

    static bool showPatchEditor();
    static void setShowPatchEditor(bool shown);
};

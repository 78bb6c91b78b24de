#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class FileCapture;

namespace Brisel {
class RemoteControlManager;
struct DeviceRecord;
} // namespace Brisel

// Rolling copies of the controller's bank and active patch. A backup is a
// bank file and a patch file of the same name, the local time of writing as
// "yyyy-MM-dd_hhmmss", in the backups folder; the folder is the only lasting
// state, the list of names (newest first) is rebuilt from it.
class RevertManager
{
public:
    using Clock = std::function<QDateTime()>;

    static constexpr char NameFormat[] = "yyyy-MM-dd_hhmmss";

    // The process's manager on the process's model, created on first use.
    static RevertManager &instance();

    // Rescans the folder and prunes it to the number retained.
    explicit RevertManager(
        Brisel::RemoteControlManager &manager, Clock clock = [] { return QDateTime::currentDateTime(); });

    // The stored backups folder, or the session's default folder (then
    // stored) when that is missing or not writable; empty when there is none.
    QString folder() const;

    // The backups in the folder, newest first; other files are ignored.
    void rescan();
    // Deletes the oldest backups beyond the number retained.
    void prune();
    // Writes a backup of the manager's bank and active patch; the new name,
    // or empty when nothing could be written. A backup of the same name is
    // replaced.
    QString saveNow();
    void deleteBackup(int i);
    // Loads backup i back into the bank and the active patch; false (and
    // nothing changed) when a file is missing or invalid.
    bool restore(int i);

    int count() const { return int(m_names.size()); }
    QString name(int i) const { return m_names.value(i); }

    // Selects the device through the manager and, when that succeeds and
    // leaves a device connected whose bank downloaded completely, writes a
    // backup at once. The selection's result.
    bool selectDeviceAndBackUp(const Brisel::DeviceRecord &record);

    static bool isBackupName(const QString &baseName);

    RevertManager(const RevertManager &) = delete;
    RevertManager &operator=(const RevertManager &) = delete;

    // Tells the capture (or nobody, the default) what a restore replaces and loads.
    void setCapture(FileCapture *capture) { m_capture = capture; }

private:
    void removeFiles(const QString &folder, const QString &name) const;

    Brisel::RemoteControlManager &m_manager;
    FileCapture *m_capture = nullptr;
    Clock m_clock;
    QStringList m_names;
};

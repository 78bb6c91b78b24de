#pragma once

#include "editor/app/files/FileKinds.h"

#include <QString>

class FileCapture;
class FileFeedback;

namespace Brisel {
class RemoteControlManager;
}

// Loading and saving patch and bank files in and out of the manager's bank;
// with a device connected, what a load changes reaches the device through
// the manager, and a load the device did not take fails.
class FileOperations
{
public:
    FileOperations(Brisel::RemoteControlManager &manager, FileFeedback &feedback);

    // By suffix: "vpp" loads a patch into the current position, "vpb" a bank;
    // false for a missing file or any other suffix.
    bool openFile(const QString &path);
    // Position 0..15, or -1 for the current position.
    bool loadPatchFile(const QString &path, int position = -1);
    bool loadBankFile(const QString &path);
    bool savePatchFile(const QString &path, int position = -1);
    // Stores the active patch into the current position first.
    bool saveBankFile(const QString &path);

    // What the last load that succeeded told the user beside: that its zones
    // part was missing or incomplete; empty otherwise. For the status bar's
    // "Loaded", which would hide the notice.
    const QString &notice() const { return m_notice; }

    // Tells the capture (or nobody, the default) of every load and save.
    void setCapture(FileCapture *capture) { m_capture = capture; }

private:
    int resolvePosition(int position) const;
    void reportZonesPart(ZonesPart part);
    // With a device connected: whether it took every transfer since the
    // load began; when not, the user is told how many it took.
    bool deviceTookTheLoad(const QString &what);

    Brisel::RemoteControlManager &m_manager;
    FileFeedback &m_feedback;
    FileCapture *m_capture = nullptr;
    QString m_notice;
};

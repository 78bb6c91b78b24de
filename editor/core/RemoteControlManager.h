#pragma once

#include "editor/core/ActivePatch.h"
#include "editor/core/Bank.h"
#include "editor/core/DeviceRecord.h"

#include <memory>

namespace Brisel {

class DeviceConnection;

// The editor's model and its live link to the controller: owns the active
// patch, the bank and the device connection, and sends every change to the
// device as it happens (or, while live updates are off, when they resume).
class RemoteControlManager
{
public:
    class Impl;

    static RemoteControlManager &instance();

    // The process uses instance(); tests build their own.
    RemoteControlManager();
    ~RemoteControlManager();

    ActivePatch &activePatch();
    Bank &bank();
    DeviceConnection &connection();

    // Opens the device and, when it has a link, downloads its contents; the
    // result is that of opening.
    bool selectDevice(const DeviceRecord &record);
    bool isConnected() const;
    DeviceRecord currentDevice() const;

    static constexpr int DownloadRequestCount = 1 + 2 * StoredPatchCount + 2;

    // Reads the bank settings, the 16 stored patches with their zones and
    // the active patch with its zones (35 requests); true when every request
    // was answered.
    bool downloadAll();
    // How many requests of the last download were answered.
    int lastDownloadAnswered() const;
    void refreshActivePatch();

    // The stored patch at position 0..15 becomes the active patch.
    bool selectPatch(int position);
    // Swap position p with p-1 (p in 1..15) or p+1 (p in 0..14); the
    // selection follows the moved patch.
    void movePatchUp(int position);
    void movePatchDown(int position);
    // The active patch goes into the current position.
    void storeActivePatch();
    int currentPosition() const;

    void setLive(bool on);
    void suspendLive();
    void resumeLive();
    bool isLive() const;
    bool isActivePatchModified() const;

    RemoteControlManager(const RemoteControlManager &) = delete;
    RemoteControlManager &operator=(const RemoteControlManager &) = delete;

private:
    std::unique_ptr<Impl> d;
};

} // namespace Brisel

#pragma once

#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceRecord.h"
#include "editor/core/RemoteControlManager.h"
#include "tools/vorpadctl/Commands.h"

#include <vector>

// What the commands that talk to a controller share: choosing the machine,
// the manager for one command, opening the chosen device, downloading.

// The process's one manager, as the editor uses it, for the length of one
// command. Its link is closed when the command ends, so that the next command
// may select a fresh simulated machine.
class ManagerSession
{
public:
    ManagerSession() = default;
    ~ManagerSession() { manager.connection().close(); }
    ManagerSession(const ManagerSession &) = delete;
    ManagerSession &operator=(const ManagerSession &) = delete;

    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
};

// The device list as the editor shows it: position 0 is "No device".
std::vector<Brisel::DeviceRecord> deviceList();

// Opens the chosen device; false (reported) when there is no such device or
// it no longer answers. Nothing is downloaded yet.
bool connect(const CommandLine &line, Io &io, Brisel::RemoteControlManager &manager);

bool downloadComplete(const CommandLine &line, Io &io, Brisel::RemoteControlManager &manager);

// The 16 stored patch (or zones) images of the bank in order.
std::vector<std::vector<Byte>> storedImages(const Brisel::Bank &bank, bool zones);

#pragma once

#include <QString>

namespace Brisel {
struct DeviceRecord;
}

// Connecting a device and re-reading it as the windows do it: a wait cursor
// while the bank downloads, the outcome on the main window's status bar
// (including how many of the 35 requests a controller that stopped answering
// still answered), and a revert backup after every connection whose download
// is complete.
namespace DeviceSession {

// The manager's selectDevice with the above; its result.
bool select(const Brisel::DeviceRecord &record);
// The manager's downloadAll with the above; its result.
bool download();

// What the status bar says after a download of `answered` requests.
QString downloadStatus(const QString &deviceName, int answered);

// The message shown on the main window's status bar (also kept for tests).
void showStatus(const QString &text);
QString lastStatus();

} // namespace DeviceSession

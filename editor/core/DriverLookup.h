#pragma once

#include "platform/devicecontrol/DeviceControl.h"

#include <string>

// Finding the driver that serves a connected controller, for the about box:
// through the driver's control interface and the service manager.
namespace Brisel {

// The path of the driver serving the product id, or empty: the first present
// control interface answering the set-support probe whose device descriptor
// has the vendor id and this product id gives the service and its executable.
std::wstring findDriverPath(Platform::DeviceControl &control, int productId);

// The four 16-bit parts of a file's version; all 0 when unknown.
Platform::DeviceControl::FileVersion fileVersionOf(Platform::DeviceControl &control, const std::wstring &path);

} // namespace Brisel

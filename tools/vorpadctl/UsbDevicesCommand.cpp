#include "tools/vorpadctl/Commands.h"

#include "platform/MidiSelection.h"
#include "platform/devicecontrol/DeviceControl.h"
#include "updater/core/DeviceClass.h"
#include "updater/win32/Win32USBClassicDevice.h"

#include <iomanip>

namespace {

std::string narrow(const std::wstring &text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// The controllers on the driver's control interface, read as the Updater
// reads them: no MIDI port is opened.
int usbDevices(const CommandLine &line, Io &io)
{
    selectSimulationIfAsked(line);
    Platform::DeviceControl *control = Platform::deviceControl();
    const std::vector<Platform::DeviceControl::Interface> present =
        control ? control->presentInterfaces() : std::vector<Platform::DeviceControl::Interface>();
    Oxa::DeviceClass vorpad("Vorpad");
    if (present.empty())
        io.out << "no controller found\n";
    else
        io.out << std::left << std::setw(5) << "POS" << std::setw(20) << "NAME" << std::setw(24) << "HARDWARE ID"
               << std::setw(16) << "SERIAL" << std::setw(10) << "FIRMWARE"
               << "PATH\n";
    const auto shown = [](const std::string &text) { return text.empty() ? std::string("-") : text; };
    for (std::size_t i = 0; i < present.size(); ++i) {
        const Oxa::Win32USBClassicDevice device(vorpad, *control, present[i].path);
        io.out << std::left << std::setw(5) << i + 1 << std::setw(20) << shown(device.name()) << std::setw(24)
               << shown(device.hardwareId()) << std::setw(16) << shown(device.serialNumber()) << std::setw(10)
               << shown(device.currentVersion()) << narrow(device.path()) << '\n';
    }
    // A controller this user may not open shows with "-": say how to give access.
    const std::wstring advice = control ? control->accessAdvice() : std::wstring();
    if (!advice.empty())
        io.err << "vorpadctl " << line.command << ": " << narrow(advice) << '\n';
    return ExitOk;
}

} // namespace

const std::vector<CommandSpec> &usbCommands()
{
    static const std::vector<CommandSpec> commands{
        {"usb-devices", "[--simulate[=MODEL]]",
         "List the controllers found over USB, without opening a MIDI port: name, hardware ID, serial number,\n"
         "firmware version and path (on Linux the bus and port chain), as the Updater reads them.",
         CommandLine::Simulate, 0, 0, usbDevices},
    };
    return commands;
}

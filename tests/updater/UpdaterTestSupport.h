#pragma once

#include "updater/core/DeviceClass.h"
#include "updater/core/Log.h"
#include "updater/core/UpdaterServices.h"
#include "updater/win32/USBClassicEnumerator.h"

#include "simulator/Controller.h"
#include "simulator/usb/ControllerFirmware.h"
#include "simulator/usb/FirmwareUpdate.h"
#include "simulator/usb/UsbController.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace UpdaterTest {

namespace fs = std::filesystem;

inline constexpr std::uint16_t PackageDate = (26 << 9) | (1 << 5) | 15; // 2026-01-15
inline constexpr std::uint16_t PackageVersion = 0x0110;                 // "1.10"

// Keeps the debug log out of the test output while it lives; with `lines`,
// each line goes there.
class QuietLog
{
public:
    explicit QuietLog(std::vector<std::string> *lines = nullptr)
        : m_previous(Oxa::setLogSink([lines](const std::string &line) {
            if (lines)
                lines->push_back(line);
        }))
    {
    }
    ~QuietLog() { Oxa::setLogSink(m_previous); }
    QuietLog(const QuietLog &) = delete;
    QuietLog &operator=(const QuietLog &) = delete;

private:
    Oxa::LogSink m_previous;
};

// A directory of its own for one test, removed afterwards.
class ScratchDirectory
{
public:
    ScratchDirectory()
    {
        static int counter = 0;
        m_path = fs::temp_directory_path() /
                 ("vorpad-updater-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                  "-" + std::to_string(++counter));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchDirectory()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const fs::path &path() const { return m_path; }
    std::string file(const std::string &name, const std::vector<std::uint8_t> &bytes) const
    {
        const fs::path path = m_path / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }

private:
    fs::path m_path;
};

// A simulated controller with its SysEx firmware, keeping its state in `stateFile`.
struct SimulatedController {
    std::shared_ptr<Sim::Controller> controller;
    std::shared_ptr<Sim::UsbController> usb;
};

inline SimulatedController simulatedController(int keys, int serial, const std::string &stateFile = {},
                                               const Sim::UsbFaults &faults = {})
{
    SimulatedController c;
    c.controller = std::make_shared<Sim::Controller>(keys);
    if (!stateFile.empty())
        c.controller->setStateFile(stateFile);
    c.usb = std::make_shared<Sim::UsbController>(
        c.controller->model(), std::make_shared<Sim::ControllerFirmware>(c.controller), serial, faults);
    return c;
}

// The database of a package for the 49- and 61-key controllers.
inline std::unique_ptr<Oxa::UpdaterServices> services(Platform::DeviceControl *control, const std::string &image,
                                                      const std::string &revision = "1.10", int blockSize = -1)
{
    auto services = std::make_unique<Oxa::UpdaterServices>();
    auto deviceClass = std::make_unique<Oxa::DeviceClass>("Vorpad");
    deviceClass->addHardwareId("USB\\VID_041E&PID_3F01");
    deviceClass->addHardwareId("USB\\VID_041E&PID_3F06");
    Oxa::FirmwareDescription description;
    description.imagePath = image;
    description.revision = revision;
    description.hasBuild = std::count(revision.begin(), revision.end(), '.') >= 2;
    description.blockSize = blockSize;
    deviceClass->addFirmware(description);
    deviceClass->setEnumerator(std::make_unique<Oxa::USBClassicEnumerator>(*deviceClass, control));
    services->addDeviceClass(std::move(deviceClass));
    services->setAllowDowngrade(false);
    return services;
}

} // namespace UpdaterTest

#pragma once

#include "simulator/Controller.h"
#include "simulator/usb/MidiFirmware.h"

#include <memory>

namespace Sim {

// The SysEx firmware model behind the USB-MIDI function: cable 0's bytes go
// to the controller, its replies come back with their delays. How a reply is
// cut into pieces on a MIDI port does not apply on USB, where it leaves as
// packets anyway.
class ControllerFirmware : public MidiFirmware
{
public:
    explicit ControllerFirmware(std::shared_ptr<Controller> controller) : m_controller(std::move(controller)) {}

    std::vector<FirmwareReply> receive(const std::vector<std::uint8_t> &bytes) override;
    FirmwareRevision revision() const override { return m_controller->installedFirmware(); }
    void installed(const FirmwareRevision &revision) override { m_controller->installFirmware(revision); }

    Controller &controller() { return *m_controller; }

private:
    std::shared_ptr<Controller> m_controller;
};

} // namespace Sim

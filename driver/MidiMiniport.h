#pragma once

#include "driver/MidiStream.h"

#include <cstdint>
#include <string>

namespace Zel {

class UsbMidiAdapter;

enum class MiniportKind { MidiData, Control };
enum class FilterKind { Render, Capture, Control };

// One subdevice: a MIDI data port for one cable, or the "DeviceControl" object.
class MidiMiniport
{
public:
    static constexpr std::uint32_t MaxNameLength = 31;

    MidiMiniport(UsbMidiAdapter &adapter, const char *name, MiniportKind kind, std::uint8_t interfaceNumber,
                 std::uint8_t endpointAddress, std::uint8_t cableIndex);

    const char *name() const { return m_name; }
    MiniportKind kind() const { return m_kind; }
    std::uint8_t interfaceNumber() const { return m_interfaceNumber; }

    FilterKind description() const;
    static NTSTATUS dataRangeIntersection() { return STATUS_NOT_IMPLEMENTED; }
    // Names the port (product string and jack) and records the name.
    NTSTATUS init();
    const std::string &portName() const { return m_portName; }
    NTSTATUS newStream(bool capture, StreamNotify notify, void *notifyContext, MidiStream *&stream);
    // Power notification: IN endpoints read only in D0.
    void powerChange(std::uint32_t deviceState);

private:
    UsbMidiAdapter &m_adapter;
    char m_name[MaxNameLength + 1] = {};
    MiniportKind m_kind;
    std::uint8_t m_interfaceNumber;
    std::uint8_t m_endpointAddress;
    std::uint8_t m_cableIndex;
    std::string m_portName;
};

} // namespace Zel

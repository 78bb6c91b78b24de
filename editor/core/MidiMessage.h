#pragma once

#include "editor/core/model/PatchTypes.h"

#include <cstddef>
#include <vector>

namespace Midi {

// Raw MIDI bytes, status byte first.
class MidiMessage
{
public:
    virtual ~MidiMessage() = default;
    virtual Byte status() const = 0;

    const std::vector<Byte> &bytes() const { return m_bytes; }
    const Byte *data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.empty(); }

protected:
    MidiMessage() = default;
    explicit MidiMessage(std::vector<Byte> bytes) : m_bytes(std::move(bytes)) {}
    MidiMessage(const MidiMessage &) = default;
    MidiMessage &operator=(const MidiMessage &) = default;
    MidiMessage(MidiMessage &&) = default;
    MidiMessage &operator=(MidiMessage &&) = default;

    std::vector<Byte> m_bytes;
};

// One System Exclusive message, F0 ... F7 inclusive.
class LongMessage : public MidiMessage
{
public:
    LongMessage() = default;
    explicit LongMessage(std::vector<Byte> bytes) : MidiMessage(std::move(bytes)) {}
    LongMessage(const Byte *data, std::size_t length) : MidiMessage(std::vector<Byte>(data, data + length)) {}

    Byte status() const override { return m_bytes.empty() ? 0 : m_bytes.front(); }
    // F0 first, F7 last, and at least those two.
    bool isComplete() const
    {
        return m_bytes.size() >= 2 && m_bytes.front() == SysExStart && m_bytes.back() == SysExEnd;
    }
    void clear() { m_bytes.clear(); }
};

class MidiInObserver
{
public:
    virtual ~MidiInObserver() = default;
    // Called on the MIDI input thread for every complete SysEx.
    virtual void received(const LongMessage &message) = 0;
};

} // namespace Midi

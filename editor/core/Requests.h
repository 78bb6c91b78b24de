#pragma once

#include "editor/core/MidiMessage.h"
#include "editor/core/RequestTargets.h"
#include "editor/core/model/DeviceModel.h"
#include "editor/core/model/PatchTypes.h"

#include <span>

// One exchange with the controller each: the SysEx to send and what to do
// with the answer. Built on the GUI thread, answered there too.
namespace Brisel {

class SysexMessage
{
public:
    virtual ~SysexMessage() = default;
    // The first complete SysEx that arrived after sending; may be anything.
    virtual void handleReply(const Midi::LongMessage &reply) = 0;

    const Midi::LongMessage &message() const { return m_message; }
    Byte deviceId() const { return m_deviceId; }

    SysexMessage(const SysexMessage &) = delete;
    SysexMessage &operator=(const SysexMessage &) = delete;

protected:
    // Keeps the bytes only when they form a complete SysEx (more than two
    // bytes, F0 first, F7 last).
    SysexMessage(Byte deviceId, std::vector<Byte> bytes);

private:
    Midi::LongMessage m_message;
    Byte m_deviceId;
};

// Asks for an image and hands the answer's image to a target.
class ImageRequest : public SysexMessage
{
public:
    void handleReply(const Midi::LongMessage &reply) override;

protected:
    ImageRequest(Byte deviceId, int requestCommand, int patchNumber);
    virtual void deliver(const std::vector<Byte> &image) = 0;

private:
    int m_answerCommand;
    int m_patchNumber;
};

class PatchRequest : public ImageRequest
{
public:
    PatchRequest(Byte deviceId, PatchTarget &patch);

private:
    void deliver(const std::vector<Byte> &image) override;
    PatchTarget &m_target;
};

class ActivePatchSettingsRequest : public ImageRequest
{
public:
    ActivePatchSettingsRequest(Byte deviceId, PatchTarget &activePatch);

private:
    void deliver(const std::vector<Byte> &image) override;
    PatchTarget &m_target;
};

class ZonesRequest : public ImageRequest
{
public:
    ZonesRequest(Byte deviceId, PatchTarget &patch);

private:
    void deliver(const std::vector<Byte> &image) override;
    PatchTarget &m_target;
};

class ActiveZonesRequest : public ImageRequest
{
public:
    ActiveZonesRequest(Byte deviceId, PatchTarget &activeZones);

private:
    void deliver(const std::vector<Byte> &image) override;
    PatchTarget &m_target;
};

class BankSettingsRequest : public ImageRequest
{
public:
    BankSettingsRequest(Byte deviceId, BankSettingsTarget &bank);

private:
    void deliver(const std::vector<Byte> &image) override;
    BankSettingsTarget &m_target;
};

// How many transfers went to the device and how many it took.
struct TransferTally {
    int sent = 0;
    int taken = 0;
};

// Transfers carry an image to the device. The device took one when it
// acknowledged it without an error status; no answer, an error status or any
// other answer means it did not.
class Transfer : public SysexMessage
{
public:
    void handleReply(const Midi::LongMessage &reply) override;
    // Counts this transfer as sent, and as taken when the device takes it.
    void countIn(TransferTally &tally);

protected:
    using SysexMessage::SysexMessage;

private:
    TransferTally *m_tally = nullptr;
};

class PatchTransfer : public Transfer
{
public:
    PatchTransfer(Byte deviceId, int patchNumber, std::span<const Byte, PatchImageSize> image);
};

class ZonesTransfer : public Transfer
{
public:
    ZonesTransfer(Byte deviceId, int patchNumber, std::span<const Byte, ZonesImageSize> image);
};

class BankSettingsTransfer : public Transfer
{
public:
    BankSettingsTransfer(Byte deviceId, std::span<const Byte, BankSettingsSize> record);
};

class DeviceIdentityRequest : public SysexMessage
{
public:
    // Marks the result not identified (device ID 127) until an answer comes.
    explicit DeviceIdentityRequest(IdentityResult &result);
    void handleReply(const Midi::LongMessage &reply) override;

private:
    IdentityResult &m_result;
};

} // namespace Brisel

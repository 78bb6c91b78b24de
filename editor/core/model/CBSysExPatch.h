#pragma once

#include "editor/core/model/DeviceModel.h"
#include "editor/core/model/PatchTypes.h"

class CBPatch;

// In and out values of one build or parse.
struct SysExContext {
    int result = 0;  // out: parser result (CBSysExPatch::ParseResult)
    int command = 0; // out: byte 5
    int status = 0;  // out: byte 6
    int ackCode = 0; // out: byte 7 of an acknowledgement
    // The message to parse, or the builder's output buffer (at least
    // MaxMessageLength bytes). Not const: parsing validates the image in place.
    Byte *message = nullptr;
    Byte *image = nullptr; // builder: source image; extractor: destination
    int length = 0;        // parser: in, the message length; builder: out
    Byte deviceId = 0x7F;  // in: target or expected ID; out: the message's ID
    Byte patchNumber = 0;  // in: for builders; out: the parsed message's
};

// Builds and parses the controller's SysEx messages. Images travel unchanged:
// no checksum, no nibbles, every payload byte is already 7-bit.
class CBSysExPatch
{
public:
    enum ParseResult : int {
        NotThisFamily = 1,
        OtherDevice = 2,
        Accepted = 3,
        UnknownCommand = 4,
        DeviceError = 5,
        BadPatchNumber = 6,
        InvalidImage = 7,
        BadAckCode = 8,
    };

    enum Command : int {
        StatusOnly = 0x00,
        Acknowledgement = 0x01,
        PatchRequest = 0x10,
        PatchTransfer = 0x11,
        BankSettingsRequest = 0x12,
        BankSettingsTransfer = 0x13,
        ZonesRequest = 0x14,
        ZonesTransfer = 0x15,
    };

    static constexpr Byte ManufacturerId = 0x18;
    static constexpr Byte ProductFamily = 0x42;
    static constexpr Byte AltProductFamily = 0x55;
    static constexpr Byte AnyDevice = 0x7F;
    static constexpr int PatchRequestLength = 9;
    static constexpr int PatchTransferLength = 361;
    static constexpr int BankSettingsRequestLength = 8;
    static constexpr int BankSettingsTransferLength = 25;
    static constexpr int ZonesRequestLength = 9;
    static constexpr int ZonesTransferLength = 73;
    static constexpr int MaxMessageLength = PatchTransferLength;
    static constexpr int IdentityRequestLength = 6;
    static constexpr int IdentityReplyLength = 15;

    explicit CBSysExPatch(CBPatch &patch);

    int buildPatchRequest(SysExContext &context) const;
    int buildPatchTransfer(SysExContext &context) const;
    int buildBankSettingsRequest(SysExContext &context) const;
    int buildBankSettingsTransfer(SysExContext &context) const;
    int buildZonesRequest(SysExContext &context) const;
    int buildZonesTransfer(SysExContext &context) const;

    int parse(SysExContext &context) const;

    // Copy the carried image out of a message that parse accepted; false (and
    // nothing copied) for any other message.
    bool extractPatchImage(const SysExContext &context) const;
    bool extractZonesImage(const SysExContext &context) const;
    bool extractBankSettings(const SysExContext &context) const;

    static int buildIdentityRequest(Byte *out);
    // True when the reply's header is that of an identity reply; then the
    // result holds the model, the device ID and the firmware revision, or
    // model 0, ID 127 and no firmware when the device is not of this family.
    static bool checkIdentityReply(const Byte *message, int length, Brisel::IdentityResult &result);

private:
    int buildHeader(SysExContext &context, int command) const;
    int finish(SysExContext &context, int length) const;
    int parseCommand(SysExContext &context) const;
    bool extract(const SysExContext &context, int command, int offset, int size) const;

    CBPatch &m_patch;
};

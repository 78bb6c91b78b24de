#include "editor/core/model/CBSysExPatch.h"

#include "editor/core/model/CBPatch.h"

#include <cstring>

namespace {

constexpr int HeaderLength = 7;
constexpr int ImageOffset = 8;        // patch and zones images, after the patch number
constexpr int BankSettingsOffset = 7; // the bank settings record has no patch number
constexpr int HighestPatchNumber = StoredPatchCount;

constexpr Byte identityRequest[] = {SysExStart, 0x7E, 0x7F, 0x06, 0x01, SysExEnd};

// Full length of each command's message; a shorter one is never read past its end.
int requiredLength(int command)
{
    switch (command) {
    case CBSysExPatch::StatusOnly:
    case CBSysExPatch::BankSettingsRequest:
        return CBSysExPatch::BankSettingsRequestLength;
    case CBSysExPatch::Acknowledgement:
    case CBSysExPatch::PatchRequest:
    case CBSysExPatch::ZonesRequest:
        return CBSysExPatch::PatchRequestLength;
    case CBSysExPatch::PatchTransfer:
        return CBSysExPatch::PatchTransferLength;
    case CBSysExPatch::BankSettingsTransfer:
        return CBSysExPatch::BankSettingsTransferLength;
    case CBSysExPatch::ZonesTransfer:
        return CBSysExPatch::ZonesTransferLength;
    default:
        return HeaderLength;
    }
}

} // namespace

CBSysExPatch::CBSysExPatch(CBPatch &patch) : m_patch(patch) {}

int CBSysExPatch::buildHeader(SysExContext &context, int command) const
{
    Byte *m = context.message;
    m[0] = SysExStart;
    m[1] = ManufacturerId;
    m[2] = ProductFamily;
    m[3] = 0x00;
    m[4] = Byte(context.deviceId & 0x7F); // a data byte above 0x7F would end the SysEx
    m[5] = Byte(command);
    m[6] = 0x00;
    return HeaderLength;
}

int CBSysExPatch::finish(SysExContext &context, int length) const
{
    context.message[length - 1] = SysExEnd;
    context.length = length;
    return length;
}

int CBSysExPatch::buildPatchRequest(SysExContext &context) const
{
    buildHeader(context, PatchRequest);
    context.message[7] = Byte(context.patchNumber & 0x7F);
    return finish(context, PatchRequestLength);
}

int CBSysExPatch::buildPatchTransfer(SysExContext &context) const
{
    buildHeader(context, PatchTransfer);
    context.message[7] = Byte(context.patchNumber & 0x7F);
    std::memcpy(context.message + ImageOffset, context.image, PatchImageSize);
    return finish(context, PatchTransferLength);
}

int CBSysExPatch::buildBankSettingsRequest(SysExContext &context) const
{
    buildHeader(context, BankSettingsRequest);
    return finish(context, BankSettingsRequestLength);
}

int CBSysExPatch::buildBankSettingsTransfer(SysExContext &context) const
{
    buildHeader(context, BankSettingsTransfer);
    std::memcpy(context.message + BankSettingsOffset, context.image, BankSettingsSize);
    return finish(context, BankSettingsTransferLength);
}

int CBSysExPatch::buildZonesRequest(SysExContext &context) const
{
    buildHeader(context, ZonesRequest);
    context.message[7] = Byte(context.patchNumber & 0x7F);
    return finish(context, ZonesRequestLength);
}

int CBSysExPatch::buildZonesTransfer(SysExContext &context) const
{
    buildHeader(context, ZonesTransfer);
    context.message[7] = Byte(context.patchNumber & 0x7F);
    std::memcpy(context.message + ImageOffset, context.image, ZonesImageSize);
    return finish(context, ZonesTransferLength);
}

int CBSysExPatch::parse(SysExContext &context) const
{
    context.result = parseCommand(context);
    return context.result;
}

int CBSysExPatch::parseCommand(SysExContext &context) const
{
    Byte *m = context.message;
    if (!m || context.length < HeaderLength || m[1] != ManufacturerId ||
        (m[2] != ProductFamily && m[2] != AltProductFamily))
        return NotThisFamily;

    const Byte expectedId = context.deviceId;
    context.deviceId = m[4];
    context.command = m[5];
    context.status = m[6];
    if (context.length < requiredLength(context.command))
        return NotThisFamily;
    if (expectedId != AnyDevice && expectedId != context.deviceId)
        return OtherDevice;

    switch (context.command) {
    case StatusOnly:
    case BankSettingsRequest:
        return context.status ? DeviceError : Accepted;
    case Acknowledgement:
        context.ackCode = m[7];
        if (context.status)
            return DeviceError;
        return (context.ackCode < 1 || context.ackCode > 5) ? BadAckCode : Accepted;
    case PatchRequest:
    case ZonesRequest:
        context.patchNumber = m[7];
        if (context.status)
            return DeviceError;
        return context.patchNumber > HighestPatchNumber ? BadPatchNumber : Accepted;
    case PatchTransfer:
    case ZonesTransfer: {
        context.patchNumber = m[7];
        if (context.status)
            return DeviceError;
        if (context.patchNumber > HighestPatchNumber)
            return BadPatchNumber;
        const bool valid = context.command == PatchTransfer ? m_patch.validatePatchImage(m + ImageOffset)
                                                            : m_patch.validateZonesImage(m + ImageOffset);
        return valid ? Accepted : InvalidImage;
    }
    case BankSettingsTransfer:
        if (context.status)
            return DeviceError;
        return m_patch.validateBankSettings(m + BankSettingsOffset) ? Accepted : InvalidImage;
    default:
        return UnknownCommand;
    }
}

bool CBSysExPatch::extract(const SysExContext &context, int command, int offset, int size) const
{
    if (context.result != Accepted || context.command != command || !context.image || !context.message)
        return false;
    std::memcpy(context.image, context.message + offset, size_t(size));
    return true;
}

bool CBSysExPatch::extractPatchImage(const SysExContext &context) const
{
    return extract(context, PatchTransfer, ImageOffset, PatchImageSize);
}

bool CBSysExPatch::extractZonesImage(const SysExContext &context) const
{
    return extract(context, ZonesTransfer, ImageOffset, ZonesImageSize);
}

bool CBSysExPatch::extractBankSettings(const SysExContext &context) const
{
    return extract(context, BankSettingsTransfer, BankSettingsOffset, BankSettingsSize);
}

int CBSysExPatch::buildIdentityRequest(Byte *out)
{
    std::memcpy(out, identityRequest, sizeof identityRequest);
    return IdentityRequestLength;
}

bool CBSysExPatch::checkIdentityReply(const Byte *message, int length, Brisel::IdentityResult &result)
{
    if (!message || length != IdentityReplyLength || message[0] != SysExStart || message[1] != 0x7E ||
        message[3] != 0x06 || message[4] != 0x02 || message[5] != ManufacturerId)
        return false;
    result.model = Brisel::modelFromIdentity(message[6], message[7], message[8], message[9]);
    if (result.model == Brisel::NotThisProduct) {
        result.deviceId = Brisel::NotIdentifiedDeviceId;
        result.firmware.clear();
        return true;
    }
    result.deviceId = message[2];
    result.firmware.assign(reinterpret_cast<const char *>(message + 10), 4);
    return true;
}

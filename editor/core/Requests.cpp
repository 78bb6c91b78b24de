#include "editor/core/Requests.h"

#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"

#include <functional>

namespace Brisel {

namespace {

constexpr int ActivePatchNumber = 0;

bool isComplete(const std::vector<Byte> &bytes)
{
    return bytes.size() > 2 && bytes.front() == SysExStart && bytes.back() == SysExEnd;
}

// Builds one message of the family with a builder of CBSysExPatch.
std::vector<Byte> build(Byte deviceId, int patchNumber, const Byte *image,
                        int (CBSysExPatch::*builder)(SysExContext &) const)
{
    std::vector<Byte> bytes(CBSysExPatch::MaxMessageLength);
    SysExContext context;
    context.message = bytes.data();
    context.deviceId = deviceId;
    context.patchNumber = Byte(patchNumber);
    context.image = const_cast<Byte *>(image); // builders only read it
    (CBPatch::instance().sysEx().*builder)(context);
    bytes.resize(std::size_t(context.length));
    return bytes;
}

struct RequestKind {
    int request;
    int answer;
    int imageSize;
    bool (CBSysExPatch::*extract)(const SysExContext &) const;
    int (CBSysExPatch::*builder)(SysExContext &) const;
};

constexpr RequestKind requestKinds[] = {
    {CBSysExPatch::PatchRequest, CBSysExPatch::PatchTransfer, PatchImageSize, &CBSysExPatch::extractPatchImage,
     &CBSysExPatch::buildPatchRequest},
    {CBSysExPatch::ZonesRequest, CBSysExPatch::ZonesTransfer, ZonesImageSize, &CBSysExPatch::extractZonesImage,
     &CBSysExPatch::buildZonesRequest},
    {CBSysExPatch::BankSettingsRequest, CBSysExPatch::BankSettingsTransfer, BankSettingsSize,
     &CBSysExPatch::extractBankSettings, &CBSysExPatch::buildBankSettingsRequest},
};

const RequestKind &kindOf(int requestCommand)
{
    for (const RequestKind &kind : requestKinds) {
        if (kind.request == requestCommand)
            return kind;
    }
    return requestKinds[0];
}

// Parses a private copy: parsing validates the image in place.
int parseCopy(const Midi::LongMessage &reply, Byte expectedId, std::vector<Byte> &copy, SysExContext &context)
{
    copy = reply.bytes();
    context.message = copy.data();
    context.length = int(copy.size());
    context.deviceId = expectedId;
    return CBPatch::instance().sysEx().parse(context);
}

} // namespace

SysexMessage::SysexMessage(Byte deviceId, std::vector<Byte> bytes)
    : m_message(isComplete(bytes) ? std::move(bytes) : std::vector<Byte>()), m_deviceId(deviceId)
{
}

ImageRequest::ImageRequest(Byte deviceId, int requestCommand, int patchNumber)
    : SysexMessage(deviceId, build(deviceId, patchNumber, nullptr, kindOf(requestCommand).builder))
    , m_answerCommand(kindOf(requestCommand).answer)
    , m_patchNumber(patchNumber)
{
}

void ImageRequest::handleReply(const Midi::LongMessage &reply)
{
    if (!reply.isComplete())
        return;
    std::vector<Byte> copy;
    SysExContext context;
    if (parseCopy(reply, deviceId(), copy, context) != CBSysExPatch::Accepted || context.command != m_answerCommand)
        return;
    if (m_answerCommand != CBSysExPatch::BankSettingsTransfer && context.patchNumber != m_patchNumber)
        return;
    for (const RequestKind &kind : requestKinds) {
        if (kind.answer != m_answerCommand)
            continue;
        std::vector<Byte> image(std::size_t(kind.imageSize));
        context.image = image.data();
        if ((CBPatch::instance().sysEx().*kind.extract)(context))
            deliver(image);
    }
}

PatchRequest::PatchRequest(Byte deviceId, PatchTarget &patch)
    : ImageRequest(deviceId, CBSysExPatch::PatchRequest, patch.number()), m_target(patch)
{
}

void PatchRequest::deliver(const std::vector<Byte> &image) { m_target.setPatchImage(image); }

ActivePatchSettingsRequest::ActivePatchSettingsRequest(Byte deviceId, PatchTarget &activePatch)
    : ImageRequest(deviceId, CBSysExPatch::PatchRequest, ActivePatchNumber), m_target(activePatch)
{
}

void ActivePatchSettingsRequest::deliver(const std::vector<Byte> &image) { m_target.setPatchImage(image); }

ZonesRequest::ZonesRequest(Byte deviceId, PatchTarget &patch)
    : ImageRequest(deviceId, CBSysExPatch::ZonesRequest, patch.number()), m_target(patch)
{
}

void ZonesRequest::deliver(const std::vector<Byte> &image) { m_target.setZonesImage(image); }

ActiveZonesRequest::ActiveZonesRequest(Byte deviceId, PatchTarget &activeZones)
    : ImageRequest(deviceId, CBSysExPatch::ZonesRequest, ActivePatchNumber), m_target(activeZones)
{
}

void ActiveZonesRequest::deliver(const std::vector<Byte> &image) { m_target.setZonesImage(image); }

BankSettingsRequest::BankSettingsRequest(Byte deviceId, BankSettingsTarget &bank)
    : ImageRequest(deviceId, CBSysExPatch::BankSettingsRequest, 0), m_target(bank)
{
}

void BankSettingsRequest::deliver(const std::vector<Byte> &image) { m_target.setSettings(image); }

void Transfer::handleReply(const Midi::LongMessage &reply)
{
    if (!reply.isComplete())
        return;
    std::vector<Byte> copy;
    SysExContext context;
    const bool taken = parseCopy(reply, deviceId(), copy, context) == CBSysExPatch::Accepted &&
                       context.command == CBSysExPatch::Acknowledgement;
    if (taken && m_tally)
        ++m_tally->taken;
}

void Transfer::countIn(TransferTally &tally)
{
    m_tally = &tally;
    ++tally.sent;
}

PatchTransfer::PatchTransfer(Byte deviceId, int patchNumber, std::span<const Byte, PatchImageSize> image)
    : Transfer(deviceId, build(deviceId, patchNumber, image.data(), &CBSysExPatch::buildPatchTransfer))
{
}

ZonesTransfer::ZonesTransfer(Byte deviceId, int patchNumber, std::span<const Byte, ZonesImageSize> image)
    : Transfer(deviceId, build(deviceId, patchNumber, image.data(), &CBSysExPatch::buildZonesTransfer))
{
}

BankSettingsTransfer::BankSettingsTransfer(Byte deviceId, std::span<const Byte, BankSettingsSize> record)
    : Transfer(deviceId, build(deviceId, 0, record.data(), &CBSysExPatch::buildBankSettingsTransfer))
{
}

namespace {
std::vector<Byte> identityRequest()
{
    std::vector<Byte> bytes(CBSysExPatch::IdentityRequestLength);
    CBSysExPatch::buildIdentityRequest(bytes.data());
    return bytes;
}
} // namespace

DeviceIdentityRequest::DeviceIdentityRequest(IdentityResult &result)
    : SysexMessage(CBSysExPatch::AnyDevice, identityRequest()), m_result(result)
{
    m_result.deviceId = NotIdentifiedDeviceId;
}

void DeviceIdentityRequest::handleReply(const Midi::LongMessage &reply)
{
    if (reply.size() != std::size_t(CBSysExPatch::IdentityReplyLength))
        return;
    IdentityResult answer = m_result;
    if (CBSysExPatch::checkIdentityReply(reply.data(), int(reply.size()), answer))
        m_result = answer;
}

} // namespace Brisel

#include "simulator/Controller.h"

#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "editor/core/model/DeviceModel.h"
#include "editor/core/model/SysExAccumulator.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace Sim {

namespace {

constexpr Byte UniversalNonRealtime = 0x7E;
constexpr Byte GeneralInformation = 0x06;
constexpr Byte IdentityRequest = 0x01;
constexpr Byte IdentityReply = 0x02;
constexpr int FamilyHeaderLength = 7;
constexpr int DeviceIdOffset = 4;
constexpr int CommandOffset = 5;
constexpr int StatusOffset = 6;
constexpr int IdentityDeviceIdOffset = 2;
constexpr int IdentityFamilyOffset = 6;

// The installed firmware's words in the state file, as a message of the
// non-commercial manufacturer ID that no transfer parser takes for its own:
// F0 7D "VPFW" date (3 bytes of 7 bits) version (3 bytes of 7 bits) F7.
constexpr Byte NonCommercialId = 0x7D;
constexpr Byte FirmwareRecordTag[] = {'V', 'P', 'F', 'W'};
constexpr std::size_t FirmwareRecordLength = 2 + 4 + 3 + 3 + 1;

void put14Plus(std::vector<Byte> &out, std::uint16_t word)
{
    out.push_back(Byte(word >> 14));
    out.push_back(Byte(word >> 7 & 0x7F));
    out.push_back(Byte(word & 0x7F));
}

bool get14Plus(const std::vector<Byte> &in, std::size_t at, std::uint16_t &word)
{
    if (in[at] > 0x03 || in[at + 1] > 0x7F || in[at + 2] > 0x7F)
        return false;
    word = std::uint16_t(in[at] << 14 | in[at + 1] << 7 | in[at + 2]);
    return true;
}

std::string versionCharacters(std::uint16_t version)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X", unsigned(version >> 8), unsigned(version & 0xFF));
    return text;
}

// The byte a corrupting fault overwrites in each kind of reply, and a value
// that is out of range there.
struct Corruption {
    int command;
    int offset;
    Byte value;
};

constexpr Corruption corruptions[] = {
    {CBSysExPatch::PatchTransfer, 8 + 22, 0x7F},        // octave 0..8
    {CBSysExPatch::ZonesTransfer, 8 + 8 + 5, 0x00},     // zone 1 low velocity 1..127
    {CBSysExPatch::BankSettingsTransfer, 7 + 16, 0x00}, // current patch 1..16
    {CBSysExPatch::Acknowledgement, 7, 0x00},           // code 1..5
};

bool isIdentityMessage(const std::vector<Byte> &m)
{
    return m.size() >= 5 && m[1] == UniversalNonRealtime && m[3] == GeneralInformation;
}

bool isFamilyMessage(const std::vector<Byte> &m)
{
    return m.size() >= FamilyHeaderLength && m[1] == CBSysExPatch::ManufacturerId &&
           (m[2] == CBSysExPatch::ProductFamily || m[2] == CBSysExPatch::AltProductFamily);
}

} // namespace

Controller::Controller(int keys) : m_keys(keys)
{
    for (Slot &slot : m_slots) {
        m_patchModel.initPatch(slot.patch.data());
        m_patchModel.initZones(slot.zones.data());
    }
    m_patchModel.initBankSettings(m_bankSettings.data());
}

int Controller::model() const
{
    switch (m_keys) {
    case 25:
        return Brisel::Model25;
    case 61:
        return Brisel::Model61;
    default:
        return Brisel::Model49;
    }
}

std::string Controller::portName() const { return "Vorpad " + std::to_string(m_keys); }

Byte Controller::deviceId() const
{
    std::lock_guard lock(m_mutex);
    return m_deviceId;
}

void Controller::setDeviceId(Byte id)
{
    std::lock_guard lock(m_mutex);
    m_deviceId = Byte(id & 0x7F);
}

std::string Controller::firmware() const
{
    std::lock_guard lock(m_mutex);
    return m_firmware;
}

void Controller::setFirmware(const std::string &fourCharacters)
{
    std::lock_guard lock(m_mutex);
    m_firmware = fourCharacters;
    m_firmware.resize(4, ' ');
}

Faults Controller::faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

FirmwareRevision Controller::installedFirmware() const
{
    std::lock_guard lock(m_mutex);
    return m_revision;
}

void Controller::installFirmware(const FirmwareRevision &revision)
{
    std::lock_guard lock(m_mutex);
    withSharedState([&] {
        m_revision = revision;
        m_firmware = versionCharacters(revision.version);
        saveState();
    });
}

void Controller::setFaults(const Faults &faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

PatchImage Controller::patch(int number) const
{
    std::lock_guard lock(m_mutex);
    return m_slots.at(std::size_t(number)).patch;
}

ZonesImage Controller::zones(int number) const
{
    std::lock_guard lock(m_mutex);
    return m_slots.at(std::size_t(number)).zones;
}

std::vector<Byte> Controller::bankSettings() const
{
    std::lock_guard lock(m_mutex);
    return {m_bankSettings.begin(), m_bankSettings.begin() + BankSettingsSize};
}

void Controller::setPatch(int number, const PatchImage &image)
{
    std::lock_guard lock(m_mutex);
    withSharedState([&] {
        m_slots.at(std::size_t(number)).patch = image;
        saveState();
    });
}

int Controller::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<Reply> Controller::receive(const Byte *bytes, std::size_t length)
{
    std::lock_guard lock(m_mutex);
    std::vector<Reply> replies;
    m_incoming.append(bytes, length,
                      [&](const std::vector<Byte> &message) { withSharedState([&] { handle(message, replies); }); });
    return replies;
}

void Controller::withSharedState(const std::function<void()> &change)
{
    if (!m_stateFile) {
        change();
        return;
    }
    const StateFile::Lock lock(m_stateFile->path());
    restoreUnlocked(m_stateFile->read());
    change();
}

void Controller::handle(const std::vector<Byte> &message, std::vector<Reply> &replies)
{
    std::vector<Byte> reply = answer(message);
    if (!reply.empty())
        applyFaults(reply, replies);
}

// The reply the firmware gives to one complete message; empty when the
// message is not for this controller.
std::vector<Byte> Controller::answer(std::vector<Byte> message)
{
    if (isIdentityMessage(message)) {
        const Byte target = message[2];
        if (message.size() != CBSysExPatch::IdentityRequestLength || message[4] != IdentityRequest ||
            (target != CBSysExPatch::AnyDevice && target != m_deviceId))
            return {};
        ++m_requests;
        return identityReply();
    }
    if (!isFamilyMessage(message))
        return {};
    const Byte target = message[DeviceIdOffset];
    if (target != CBSysExPatch::AnyDevice && target != m_deviceId)
        return {};
    ++m_requests;

    SysExContext context;
    context.message = message.data();
    context.length = int(message.size());
    context.deviceId = CBSysExPatch::AnyDevice;
    const int result = m_patchModel.sysEx().parse(context);
    const int command = message[CommandOffset];
    if (result == CBSysExPatch::InvalidImage)
        return acknowledgement(InvalidData, 0);
    if (result != CBSysExPatch::Accepted)
        return acknowledgement(BadRequest, 0);
    switch (command) {
    case CBSysExPatch::PatchRequest:
        return transfer(CBSysExPatch::PatchTransfer, context.patchNumber);
    case CBSysExPatch::ZonesRequest:
        return transfer(CBSysExPatch::ZonesTransfer, context.patchNumber);
    case CBSysExPatch::BankSettingsRequest:
        return transfer(CBSysExPatch::BankSettingsTransfer, 0);
    case CBSysExPatch::PatchTransfer:
    case CBSysExPatch::ZonesTransfer:
    case CBSysExPatch::BankSettingsTransfer:
        return store(message, command, result, context.patchNumber);
    default:
        return acknowledgement(BadRequest, 0);
    }
}

std::vector<Byte> Controller::identityReply() const
{
    std::vector<Byte> reply(CBSysExPatch::IdentityReplyLength);
    const Byte header[] = {SysExStart,
                           UniversalNonRealtime,
                           m_deviceId,
                           GeneralInformation,
                           IdentityReply,
                           CBSysExPatch::ManufacturerId,
                           0x02,
                           0x40,
                           Byte(Brisel::memberCodeForModel(model())),
                           0x00};
    std::copy(std::begin(header), std::end(header), reply.begin());
    std::copy_n(m_firmware.begin(), 4, reply.begin() + 10);
    reply.back() = SysExEnd;
    return reply;
}

// Stores a transfer that parsing accepted (so its image is valid) and acknowledges it.
std::vector<Byte> Controller::store(const std::vector<Byte> &message, int command, int result, Byte patchNumber)
{
    SysExContext context;
    context.message = const_cast<Byte *>(message.data());
    context.length = int(message.size());
    context.result = result;
    context.command = command;
    const CBSysExPatch &sysEx = m_patchModel.sysEx();
    Slot &slot = m_slots[patchNumber];
    Byte code = BankSettingsStored;
    switch (command) {
    case CBSysExPatch::PatchTransfer:
        context.image = slot.patch.data();
        sysEx.extractPatchImage(context);
        code = PatchStored;
        break;
    case CBSysExPatch::ZonesTransfer:
        context.image = slot.zones.data();
        sysEx.extractZonesImage(context);
        code = ZonesStored;
        break;
    default:
        context.image = m_bankSettings.data();
        sysEx.extractBankSettings(context);
        break;
    }
    saveState();
    return acknowledgement(0, code);
}

std::vector<Byte> Controller::state() const
{
    std::lock_guard lock(m_mutex);
    return stateBytes();
}

std::vector<Byte> Controller::stateBytes() const
{
    std::vector<Byte> bytes = transfer(CBSysExPatch::BankSettingsTransfer, 0);
    for (int number = 0; number <= StoredPatchCount; ++number) {
        for (int command : {CBSysExPatch::PatchTransfer, CBSysExPatch::ZonesTransfer}) {
            const std::vector<Byte> message = transfer(command, Byte(number));
            bytes.insert(bytes.end(), message.begin(), message.end());
        }
    }
    // Only an updated controller writes its firmware: older files stay as they were.
    if (m_revision != ShippedRevision) {
        const std::vector<Byte> record = firmwareRecord();
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

bool Controller::restore(const std::vector<Byte> &bytes)
{
    std::lock_guard lock(m_mutex);
    return restoreUnlocked(bytes);
}

bool Controller::restoreUnlocked(const std::vector<Byte> &bytes)
{
    std::optional<StateFile> stateFile = std::exchange(m_stateFile, std::nullopt); // no rewrite per message
    bool stored = false;
    Midi::SysExAccumulator messages;
    messages.append(bytes.data(), bytes.size(),
                    [&](const std::vector<Byte> &m) { stored |= storeIfTransfer(m) || restoreFirmwareRecord(m); });
    m_stateFile = std::move(stateFile);
    return stored;
}

std::vector<Byte> Controller::firmwareRecord() const
{
    std::vector<Byte> record;
    record.reserve(FirmwareRecordLength);
    record.push_back(SysExStart);
    record.push_back(NonCommercialId);
    for (Byte tag : FirmwareRecordTag)
        record.push_back(tag);
    put14Plus(record, m_revision.date);
    put14Plus(record, m_revision.version);
    record.push_back(SysExEnd);
    return record;
}

bool Controller::restoreFirmwareRecord(const std::vector<Byte> &message)
{
    if (message.size() != FirmwareRecordLength || message[1] != NonCommercialId ||
        !std::equal(std::begin(FirmwareRecordTag), std::end(FirmwareRecordTag), message.begin() + 2))
        return false;
    FirmwareRevision revision;
    if (!get14Plus(message, 6, revision.date) || !get14Plus(message, 9, revision.version))
        return false;
    m_revision = revision;
    m_firmware = versionCharacters(revision.version);
    return true;
}

bool Controller::storeIfTransfer(std::vector<Byte> message)
{
    if (!isFamilyMessage(message))
        return false;
    SysExContext context;
    context.message = message.data();
    context.length = int(message.size());
    context.deviceId = CBSysExPatch::AnyDevice;
    const int result = m_patchModel.sysEx().parse(context);
    const int command = message[CommandOffset];
    const bool transferCommand = command == CBSysExPatch::PatchTransfer || command == CBSysExPatch::ZonesTransfer ||
                                 command == CBSysExPatch::BankSettingsTransfer;
    if (result != CBSysExPatch::Accepted || !transferCommand)
        return false;
    store(message, command, result, context.patchNumber);
    return true;
}

void Controller::setStateFile(const std::string &path)
{
    std::optional<StateFile> file;
    std::vector<Byte> bytes;
    if (!path.empty()) {
        file.emplace(path);
        const StateFile::Lock lock(path);
        bytes = file->read();
    }
    restore(bytes);
    std::lock_guard lock(m_mutex);
    m_stateFile = std::move(file);
}

void Controller::saveState() const
{
    if (m_stateFile)
        m_stateFile->write(stateBytes());
}

std::vector<Byte> Controller::transfer(int command, Byte patchNumber) const
{
    std::vector<Byte> out(CBSysExPatch::MaxMessageLength);
    SysExContext context;
    context.message = out.data();
    context.deviceId = m_deviceId;
    context.patchNumber = patchNumber;
    const Slot &slot = m_slots[patchNumber];
    const CBSysExPatch &sysEx = m_patchModel.sysEx();
    switch (command) {
    case CBSysExPatch::PatchTransfer:
        context.image = const_cast<Byte *>(slot.patch.data());
        sysEx.buildPatchTransfer(context);
        break;
    case CBSysExPatch::ZonesTransfer:
        context.image = const_cast<Byte *>(slot.zones.data());
        sysEx.buildZonesTransfer(context);
        break;
    default:
        context.image = const_cast<Byte *>(m_bankSettings.data());
        sysEx.buildBankSettingsTransfer(context);
        break;
    }
    out.resize(std::size_t(context.length));
    return out;
}

// An acknowledgement: command 0x01, the status, and the code.
std::vector<Byte> Controller::acknowledgement(Byte statusByte, Byte code) const
{
    return {SysExStart,
            CBSysExPatch::ManufacturerId,
            CBSysExPatch::ProductFamily,
            0x00,
            m_deviceId,
            CBSysExPatch::Acknowledgement,
            statusByte,
            code,
            SysExEnd};
}

void Controller::applyFaults(std::vector<Byte> &reply, std::vector<Reply> &replies) const
{
    const Faults &f = m_faults;
    if (f.silent || (f.answerEveryNth > 1 && m_requests % f.answerEveryNth != 0))
        return;
    const bool identity = reply[1] == UniversalNonRealtime;
    if (f.replyDeviceId >= 0)
        reply[identity ? IdentityDeviceIdOffset : DeviceIdOffset] = Byte(f.replyDeviceId & 0x7F);
    if (!identity && f.errorStatus != 0)
        reply[StatusOffset] = Byte(f.errorStatus & 0x7F);
    if (!identity && f.replyCommand >= 0)
        reply[CommandOffset] = Byte(f.replyCommand & 0x7F);
    if (f.corruptPayload) {
        if (identity)
            reply[IdentityFamilyOffset] = 0x7F;
        for (const Corruption &c : corruptions) {
            if (!identity && c.command == reply[CommandOffset] && std::size_t(c.offset) + 1 < reply.size())
                reply[std::size_t(c.offset)] = c.value;
        }
    }
    replies.push_back({std::move(reply), f.replyDelay, f.chunkSize});
    if (f.strayAfterReply)
        replies.push_back({transfer(CBSysExPatch::BankSettingsTransfer, 0), f.replyDelay, f.chunkSize});
}

} // namespace Sim

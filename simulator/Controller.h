#pragma once

#include "editor/core/model/CBPatch.h"
#include "editor/core/model/PatchTypes.h"
#include "editor/core/model/SysExAccumulator.h"
#include "simulator/FirmwareRevision.h"
#include "simulator/StateFile.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The firmware of one simulated controller, as far as its SysEx side goes:
// bytes from the host come in, the replies it would send go out. How the
// bytes travel (MIDI ports, USB-MIDI packets) is left to the caller.
namespace Sim {

// One message the controller sends, with how it is to be delivered.
struct Reply {
    std::vector<Byte> bytes;
    std::chrono::milliseconds delay{0}; // after the request that caused it
    std::size_t chunkSize = 0;          // 0: in one piece
};

// Misbehaviour that can be switched on while the controller runs. Faults
// only change what the controller answers; what it stores is unaffected.
struct Faults {
    bool silent = false;
    int answerEveryNth = 1;                  // answer only every Nth request
    std::chrono::milliseconds replyDelay{0}; // late replies
    int replyDeviceId = -1;                  // >= 0: reply as that device ID
    int errorStatus = 0;                     // non-zero: status byte of every reply
    bool corruptPayload = false;             // make one payload byte invalid
    int replyCommand = -1;                   // >= 0: reply with this command instead
    bool strayAfterReply = false;            // an unrequested SysEx after each reply
    std::size_t chunkSize = 0;               // deliver replies in pieces of this size
};

class Controller
{
public:
    enum AckCode : Byte {
        PatchStored = 1,
        ZonesStored = 2,
        BankSettingsStored = 3,
    };
    enum ErrorStatus : Byte {
        InvalidData = 0x01,
        BadRequest = 0x02,
    };

    static constexpr Byte DefaultDeviceId = 0x10;
    static constexpr const char *DefaultFirmware = "0107";

    // keys: 25, 49 or 61.
    explicit Controller(int keys = 49);

    // Bytes from the host, in pieces of any size; returns what the controller
    // sends back, in order.
    std::vector<Reply> receive(const Byte *bytes, std::size_t length);

    int keys() const { return m_keys; }
    int model() const;
    std::string portName() const;

    Byte deviceId() const;
    void setDeviceId(Byte id);
    std::string firmware() const;
    void setFirmware(const std::string &fourCharacters);
    // The installed firmware's words. Installing one makes the identity
    // reply's characters follow its version ("%02X%02X") and keeps it in the
    // state file.
    FirmwareRevision installedFirmware() const;
    void installFirmware(const FirmwareRevision &revision);
    Faults faults() const;
    void setFaults(const Faults &faults);

    // Patch number 0 is the active patch, 1..16 the stored ones.
    PatchImage patch(int number) const;
    ZonesImage zones(int number) const;
    std::vector<Byte> bankSettings() const; // 17 bytes
    void setPatch(int number, const PatchImage &image);
    int requestCount() const;

    // The stored contents as the transfers that would restore them: bank
    // settings, then patch and zones of patch numbers 0..16.
    std::vector<Byte> state() const;
    // Stores every valid transfer among the bytes; false when none was.
    bool restore(const std::vector<Byte> &bytes);
    // Keeps the contents in a file, so they survive a restart: restores from
    // it now (when it is there) and rewrites it, atomically, after every
    // stored transfer. The file may be shared with other processes: every
    // message is handled on what it holds then, under its lock. An empty path
    // stops that.
    void setStateFile(const std::string &path);

private:
    struct Slot {
        PatchImage patch{};
        ZonesImage zones{};
    };

    void handle(const std::vector<Byte> &message, std::vector<Reply> &replies);
    std::vector<Byte> answer(std::vector<Byte> message);
    std::vector<Byte> identityReply() const;
    std::vector<Byte> store(const std::vector<Byte> &message, int command, int result, Byte patchNumber);
    std::vector<Byte> transfer(int command, Byte patchNumber) const;
    bool storeIfTransfer(std::vector<Byte> message);
    bool restoreFirmwareRecord(const std::vector<Byte> &message);
    std::vector<Byte> firmwareRecord() const;
    std::vector<Byte> stateBytes() const;
    void saveState() const;
    bool restoreUnlocked(const std::vector<Byte> &bytes);
    // Runs a change (with m_mutex held) on the state file's current contents,
    // under its lock.
    void withSharedState(const std::function<void()> &change);
    std::vector<Byte> acknowledgement(Byte statusByte, Byte code) const;
    void applyFaults(std::vector<Byte> &reply, std::vector<Reply> &replies) const;

    mutable std::mutex m_mutex;
    // The firmware's own patch model: it checks and converts this controller's
    // images and never sees the editor's.
    CBPatch m_patchModel;
    int m_keys;
    Byte m_deviceId = DefaultDeviceId;
    std::string m_firmware = DefaultFirmware;
    FirmwareRevision m_revision = ShippedRevision;
    Faults m_faults;
    std::array<Slot, StoredPatchCount + 1> m_slots{};
    BankSettingsRecord m_bankSettings{};
    Midi::SysExAccumulator m_incoming;
    int m_requests = 0;
    std::optional<StateFile> m_stateFile;
};

} // namespace Sim

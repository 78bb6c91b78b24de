#pragma once

#include "editor/core/DeviceLink.h"
#include "editor/core/Observer.h"
#include "editor/core/RequestTargets.h"

#include <memory>
#include <span>

namespace Brisel {

// At most one open device link, and the requests the rest of the system makes
// of the device. Without a link every request is dropped unsent.
class DeviceConnection
{
public:
    DeviceConnection();
    ~DeviceConnection();

    // Closes the current link, re-checks the record's identity and opens a
    // new link. The empty record just closes (true); observers are notified
    // after every call, whatever the result.
    bool open(const DeviceRecord &record);
    void close();
    bool isOpen() const { return m_link != nullptr; }
    DeviceRecord currentDevice() const;
    Utils::Subject &changed() { return m_changed; }

    void requestPatch(PatchTarget &patch);
    void requestActivePatch(PatchTarget &activePatch);
    void sendPatch(int patchNumber, std::span<const Byte, PatchImageSize> image);
    void requestBankSettings(BankSettingsTarget &bank);
    void sendBankSettings(std::span<const Byte, BankSettingsSize> record);
    void requestZones(PatchTarget &patch);
    void requestActiveZones(PatchTarget &activeZones);
    void sendZones(int patchNumber, std::span<const Byte, ZonesImageSize> image);

    // The transfers sent since the last reset, and how many the device took.
    const TransferTally &transfers() const { return m_transfers; }
    void resetTransfers() { m_transfers = {}; }

    DeviceConnection(const DeviceConnection &) = delete;
    DeviceConnection &operator=(const DeviceConnection &) = delete;

private:
    bool reopen(const DeviceRecord &record);
    template <class Request, class... Args>
    void submit(Args &&...args);

    std::unique_ptr<DeviceLink> m_link;
    Utils::Subject m_changed;
    TransferTally m_transfers;
};

} // namespace Brisel

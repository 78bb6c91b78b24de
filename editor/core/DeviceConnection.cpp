#include "editor/core/DeviceConnection.h"

#include "editor/core/IdentityProbe.h"

#include <type_traits>

namespace Brisel {

DeviceConnection::DeviceConnection() = default;

DeviceConnection::~DeviceConnection() = default;

bool DeviceConnection::open(const DeviceRecord &record)
{
    const bool result = reopen(record);
    m_changed.notify();
    return result;
}

bool DeviceConnection::reopen(const DeviceRecord &record)
{
    m_link.reset();
    if (record == DeviceRecord::empty())
        return true;
    if (record.deviceId == NotIdentifiedDeviceId)
        return false;
    if (probeIdentity(record.inputIndex, record.outputIndex).deviceId != record.deviceId)
        return false;
    m_link = std::make_unique<DeviceLink>(record);
    return true;
}

void DeviceConnection::close()
{
    m_link.reset();
    m_changed.notify();
}

DeviceRecord DeviceConnection::currentDevice() const { return m_link ? m_link->record() : DeviceRecord::empty(); }

template <class Request, class... Args>
void DeviceConnection::submit(Args &&...args)
{
    if (!m_link)
        return;
    auto request = std::make_unique<Request>(Byte(m_link->record().deviceId), std::forward<Args>(args)...);
    if constexpr (std::is_base_of_v<Transfer, Request>)
        request->countIn(m_transfers);
    m_link->submit(std::move(request));
}

void DeviceConnection::requestPatch(PatchTarget &patch) { submit<PatchRequest>(patch); }

void DeviceConnection::requestActivePatch(PatchTarget &activePatch) { submit<ActivePatchSettingsRequest>(activePatch); }

void DeviceConnection::sendPatch(int patchNumber, std::span<const Byte, PatchImageSize> image)
{
    submit<PatchTransfer>(patchNumber, image);
}

void DeviceConnection::requestBankSettings(BankSettingsTarget &bank) { submit<BankSettingsRequest>(bank); }

void DeviceConnection::sendBankSettings(std::span<const Byte, BankSettingsSize> record)
{
    submit<BankSettingsTransfer>(record);
}

void DeviceConnection::requestZones(PatchTarget &patch) { submit<ZonesRequest>(patch); }

void DeviceConnection::requestActiveZones(PatchTarget &activeZones) { submit<ActiveZonesRequest>(activeZones); }

void DeviceConnection::sendZones(int patchNumber, std::span<const Byte, ZonesImageSize> image)
{
    submit<ZonesTransfer>(patchNumber, image);
}

} // namespace Brisel

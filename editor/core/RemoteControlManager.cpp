#include "editor/core/RemoteControlManager.h"

#include "editor/core/DeviceConnection.h"
#include "editor/core/Observer.h"
#include "editor/core/model/CBPatch.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Brisel {

class RemoteControlManager::Impl
{
public:
    Impl();

    void activePatchChanged();
    void activeZonesChanged();
    void bankSettingsChanged();
    void storedPatchChanged(Patch &patch);
    void storedZonesChanged(Patch &patch);

    void setLive(bool on);
    void swap(Patch &a, Patch &b);
    bool activeMatchesSlot(int position) const;

    // Which requests of a download were answered with an image the model took.
    struct Download {
        bool bankSettings = false;
        std::array<bool, StoredPatchCount> patches{};
        std::array<bool, StoredPatchCount> zones{};
        bool activePatch = false;
        bool activeZones = false;

        bool slotRead(int position) const
        {
            return position >= 0 && position < StoredPatchCount && patches[std::size_t(position)] &&
                   zones[std::size_t(position)];
        }
        bool complete() const;
        int answered() const;
    };
    // The 35 requests of a download.
    Download download();
    // Clears the marks of what the download read whole; the rest keep theirs,
    // so unsaved edits stay visible.
    void settleMarks(const Download &result, int currentPosition);

    void sendActivePatch();
    void sendActiveZones();
    void sendBankSettings();
    // Counts a change that arrived while downloading.
    void noteAnswer()
    {
        if (downloading)
            ++answers;
    }

    // Declared in reverse order of destruction: the observers go first, then
    // the connection, the bank and the active patch.
    ActivePatch activePatch;
    Bank bank;
    DeviceConnection connection;
    Utils::ProxyObserver<Impl> activePatchObserver{this, &Impl::activePatchChanged};
    Utils::ProxyObserver<Impl> activeZonesObserver{this, &Impl::activeZonesChanged};
    Utils::ProxyObserver<Impl> bankSettingsObserver{this, &Impl::bankSettingsChanged};
    std::vector<std::unique_ptr<Utils::ProxyMapObserver<Impl, Patch &>>> patchObservers;
    std::vector<std::unique_ptr<Utils::ProxyMapObserver<Impl, Patch &>>> zonesObservers;

    bool live = true;
    std::vector<bool> savedLive;
    bool activePatchPending = false;
    bool activeZonesPending = false;
    bool bankSettingsPending = false;

    // While downloading: how many answers changed the model.
    bool downloading = false;
    int answers = 0;
    int lastAnswered = 0;
};

void RemoteControlManager::Impl::sendActivePatch()
{
    PatchImage image;
    CBPatch::instance().copyPatchImage(image.data(), nullptr);
    connection.sendPatch(0, image);
}

void RemoteControlManager::Impl::sendActiveZones()
{
    ZonesImage image;
    CBPatch::instance().copyZonesImage(image.data(), nullptr);
    connection.sendZones(0, image);
}

void RemoteControlManager::Impl::sendBankSettings()
{
    BankSettingsRecord record{};
    CBPatch::instance().copyBankSettings(record.data(), nullptr);
    connection.sendBankSettings(std::span<const Byte, BankSettingsSize>(record.data(), BankSettingsSize));
}

RemoteControlManager::Impl::Impl()
{
    PatchSettings &settings = activePatch.settings();
    for (Param *param : settings.params())
        param->subject().attach(&activePatchObserver);
    settings.imageSubject().attach(&activePatchObserver);

    ZonesSettings &zones = activePatch.zones();
    for (Param *param : zones.params())
        param->subject().attach(&activeZonesObserver);
    zones.imageSubject().attach(&activeZonesObserver);

    bank.name().subject().attach(&bankSettingsObserver);
    bank.currentPatch().subject().attach(&bankSettingsObserver);

    for (int p = 0; p < StoredPatchCount; ++p) {
        Patch &patch = bank.patch(p);
        patchObservers.push_back(
            std::make_unique<Utils::ProxyMapObserver<Impl, Patch &>>(this, &Impl::storedPatchChanged, patch));
        zonesObservers.push_back(
            std::make_unique<Utils::ProxyMapObserver<Impl, Patch &>>(this, &Impl::storedZonesChanged, patch));
        patch.patchImageSubject().attach(patchObservers.back().get());
        patch.zonesImageSubject().attach(zonesObservers.back().get());
    }
}

void RemoteControlManager::Impl::activePatchChanged()
{
    noteAnswer();
    if (live)
        sendActivePatch();
    else
        activePatchPending = true;
}

void RemoteControlManager::Impl::activeZonesChanged()
{
    noteAnswer();
    if (live)
        sendActiveZones();
    else
        activeZonesPending = true;
}

void RemoteControlManager::Impl::bankSettingsChanged()
{
    noteAnswer();
    if (live)
        sendBankSettings();
    else
        bankSettingsPending = true;
}

void RemoteControlManager::Impl::storedPatchChanged(Patch &patch)
{
    noteAnswer();
    if (live)
        connection.sendPatch(patch.number(), patch.patchImage());
}

void RemoteControlManager::Impl::storedZonesChanged(Patch &patch)
{
    noteAnswer();
    if (live)
        connection.sendZones(patch.number(), patch.zonesImage());
}

void RemoteControlManager::Impl::setLive(bool on)
{
    live = on;
    if (!on)
        return;
    // Each flag is cleared before its send, so a send that changes the model
    // again cannot repeat it.
    if (std::exchange(activePatchPending, false))
        sendActivePatch();
    if (std::exchange(activeZonesPending, false))
        sendActiveZones();
    if (std::exchange(bankSettingsPending, false))
        sendBankSettings();
}

bool RemoteControlManager::Impl::activeMatchesSlot(int position) const
{
    if (position < 0 || position >= StoredPatchCount)
        return false;
    const Patch &slot = bank.patch(position);
    const CBPatch &model = CBPatch::instance();
    return model.comparePatchImages(nullptr, slot.patchImage().data()) == 0 &&
           model.compareZonesImages(nullptr, slot.zonesImage().data()) == 0;
}

void RemoteControlManager::Impl::swap(Patch &a, Patch &b)
{
    const PatchImage savedPatch = a.patchImage();
    const ZonesImage savedZones = a.zonesImage();
    a.setPatchImage(b.patchImage());
    a.setZonesImage(b.zonesImage());
    b.setPatchImage(savedPatch);
    b.setZonesImage(savedZones);
}

bool RemoteControlManager::Impl::Download::complete() const
{
    auto all = [](const std::array<bool, StoredPatchCount> &read) {
        return std::all_of(read.begin(), read.end(), [](bool r) { return r; });
    };
    return bankSettings && all(patches) && all(zones) && activePatch && activeZones;
}

int RemoteControlManager::Impl::Download::answered() const
{
    const auto count = [](const std::array<bool, StoredPatchCount> &read) {
        return int(std::count(read.begin(), read.end(), true));
    };
    return int(bankSettings) + count(patches) + count(zones) + int(activePatch) + int(activeZones);
}

RemoteControlManager::Impl::Download RemoteControlManager::Impl::download()
{
    downloading = true;
    answers = 0;
    // Each accepted answer changes the model and so notifies at least once.
    auto request = [&](auto &&send) {
        const int before = answers;
        send();
        return answers > before;
    };
    Download result;
    result.bankSettings = request([&] { connection.requestBankSettings(bank); });
    for (int p = 0; p < StoredPatchCount; ++p) {
        Patch &patch = bank.patch(p);
        result.patches[std::size_t(p)] = request([&] { connection.requestPatch(patch); });
        result.zones[std::size_t(p)] = request([&] { connection.requestZones(patch); });
    }
    result.activePatch = request([&] { connection.requestActivePatch(activePatch); });
    result.activeZones = request([&] { connection.requestActiveZones(activePatch); });
    downloading = false;
    return result;
}

void RemoteControlManager::Impl::settleMarks(const Download &result, int currentPosition)
{
    for (int p = 0; p < StoredPatchCount; ++p) {
        if (result.slotRead(p))
            bank.patch(p).clearModified();
    }
    if (!result.activePatch || !result.activeZones || !result.slotRead(currentPosition))
        return;
    ModifiedStatus &status = activePatch.modifiedStatus();
    activeMatchesSlot(currentPosition) ? status.clearModified() : status.setModified();
}

RemoteControlManager &RemoteControlManager::instance()
{
    static RemoteControlManager manager;
    return manager;
}

RemoteControlManager::RemoteControlManager() : d(std::make_unique<Impl>()) {}

RemoteControlManager::~RemoteControlManager() = default;

ActivePatch &RemoteControlManager::activePatch() { return d->activePatch; }

Bank &RemoteControlManager::bank() { return d->bank; }

DeviceConnection &RemoteControlManager::connection() { return d->connection; }

bool RemoteControlManager::selectDevice(const DeviceRecord &record)
{
    const bool opened = d->connection.open(record);
    downloadAll();
    return opened;
}

bool RemoteControlManager::isConnected() const { return d->connection.isOpen(); }

DeviceRecord RemoteControlManager::currentDevice() const { return d->connection.currentDevice(); }

bool RemoteControlManager::downloadAll()
{
    if (!isConnected())
        return false;
    suspendLive();
    const Impl::Download result = d->download();
    d->lastAnswered = result.answered();
    d->settleMarks(result, currentPosition());
    resumeLive();
    return result.complete();
}

int RemoteControlManager::lastDownloadAnswered() const { return d->lastAnswered; }

void RemoteControlManager::refreshActivePatch()
{
    if (!isConnected())
        return;
    suspendLive();
    d->connection.requestActivePatch(d->activePatch);
    d->connection.requestActiveZones(d->activePatch);
    resumeLive();
}

bool RemoteControlManager::selectPatch(int position)
{
    if (position < 0 || position >= StoredPatchCount)
        return false;
    const Patch &patch = d->bank.patch(position);
    d->activePatch.setPatchImage(patch.patchImage());
    d->activePatch.setZonesImage(patch.zonesImage());
    d->bank.currentPatch().setValue(patch.number());
    d->activePatch.modifiedStatus().clearModified();
    return true;
}

void RemoteControlManager::movePatchUp(int position)
{
    if (position < 1 || position >= StoredPatchCount)
        return;
    d->swap(d->bank.patch(position), d->bank.patch(position - 1));
    d->bank.currentPatch().setValue(d->bank.patch(position - 1).number());
}

void RemoteControlManager::movePatchDown(int position)
{
    if (position < 0 || position >= StoredPatchCount - 1)
        return;
    d->swap(d->bank.patch(position), d->bank.patch(position + 1));
    d->bank.currentPatch().setValue(d->bank.patch(position + 1).number());
}

void RemoteControlManager::storeActivePatch()
{
    const int position = currentPosition();
    if (position < 0 || position >= StoredPatchCount)
        return;
    Patch &patch = d->bank.patch(position);
    patch.setPatchImage(d->activePatch.patchImage());
    patch.setZonesImage(d->activePatch.zonesImage());
    d->activePatch.modifiedStatus().clearModified();
}

int RemoteControlManager::currentPosition() const { return d->bank.currentPatch().value() - 1; }

void RemoteControlManager::setLive(bool on) { d->setLive(on); }

void RemoteControlManager::suspendLive()
{
    d->savedLive.push_back(d->live);
    d->live = false;
}

void RemoteControlManager::resumeLive()
{
    if (d->savedLive.empty())
        return;
    const bool saved = d->savedLive.back();
    d->savedLive.pop_back();
    d->setLive(saved);
}

bool RemoteControlManager::isLive() const { return d->live; }

bool RemoteControlManager::isActivePatchModified() const { return d->activePatch.modifiedStatus().value() != 0; }

} // namespace Brisel

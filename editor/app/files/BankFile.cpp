#include "editor/app/files/BankFile.h"

#include "editor/app/files/SysExFile.h"
#include "editor/core/model/CBSysExPatch.h"

#include <algorithm>

namespace {

bool allValid(const std::vector<std::vector<Byte>> &images, bool (*isValid)(std::span<const Byte>))
{
    return images.size() == StoredPatchCount &&
           std::all_of(images.begin(), images.end(), [isValid](const auto &image) { return isValid(image); });
}

void appendIfRoom(std::vector<std::vector<Byte>> &images, std::vector<Byte> image)
{
    if (images.size() < StoredPatchCount && !image.empty())
        images.push_back(std::move(image));
}

} // namespace

BankFile BankFile::fromBytes(std::span<const Byte> bytes)
{
    BankFile file;
    SysExFile::Message message;
    bool zonesRefused = false;
    const bool cut = SysExFile::forEachMessage(bytes, [&](std::span<const Byte> range) {
        message.assign(range.begin(), range.end());
        SysExContext context;
        if (!SysExFile::parse(message, context)) {
            zonesRefused = context.command == CBSysExPatch::ZonesTransfer;
            return false;
        }
        if (context.command == CBSysExPatch::BankSettingsTransfer)
            file.settings = SysExFile::extract(context, BankSettingsSize);
        else if (context.command == CBSysExPatch::PatchTransfer)
            appendIfRoom(file.patchImages, SysExFile::extract(context, PatchImageSize));
        else if (context.command == CBSysExPatch::ZonesTransfer)
            appendIfRoom(file.zonesImages, SysExFile::extract(context, ZonesImageSize));
        else
            return false;
        return true;
    });
    const bool anyZones = !file.zonesImages.empty() || cut || zonesRefused;
    if (!allValid(file.zonesImages, SysExFile::isValidZonesImage))
        file.zonesImages.clear();
    file.zonesPart = !file.zonesImages.empty() ? ZonesPart::Complete
                     : anyZones                ? ZonesPart::Incomplete
                                               : ZonesPart::Missing;
    file.valid =
        SysExFile::isValidBankSettings(file.settings) && allValid(file.patchImages, SysExFile::isValidPatchImage);
    if (!file.valid)
        file = BankFile{};
    return file;
}

BankFile BankFile::read(const QString &path)
{
    const std::optional<std::vector<Byte>> data = SysExFile::readAll(path);
    return data ? fromBytes(*data) : BankFile{};
}

QByteArray BankFile::toBytes(std::span<const Byte> settings, const std::vector<std::vector<Byte>> &patchImages,
                             const std::vector<std::vector<Byte>> &zonesImages)
{
    if (!SysExFile::isValidBankSettings(settings) || !allValid(patchImages, SysExFile::isValidPatchImage) ||
        !allValid(zonesImages, SysExFile::isValidZonesImage))
        return {};
    QByteArray out;
    SysExFile::appendBankSettingsTransfer(out, settings);
    for (const auto &image : patchImages)
        SysExFile::appendPatchTransfer(out, image);
    for (const auto &image : zonesImages)
        SysExFile::appendZonesTransfer(out, image);
    return out;
}

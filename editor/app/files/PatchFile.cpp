#include "editor/app/files/PatchFile.h"

#include "editor/app/files/SysExFile.h"
#include "editor/core/model/CBSysExPatch.h"

PatchFile PatchFile::fromBytes(std::span<const Byte> bytes)
{
    PatchFile file;
    SysExFile::Message message;
    bool zonesRefused = false;
    const bool cut = SysExFile::forEachMessage(bytes, [&](std::span<const Byte> range) {
        message.assign(range.begin(), range.end());
        SysExContext context;
        if (!SysExFile::parse(message, context)) {
            zonesRefused = context.command == CBSysExPatch::ZonesTransfer;
            return false;
        }
        if (context.command == CBSysExPatch::PatchTransfer)
            file.patchImage = SysExFile::extract(context, PatchImageSize);
        else if (context.command == CBSysExPatch::ZonesTransfer)
            file.zonesImage = SysExFile::extract(context, ZonesImageSize);
        else
            return false;
        return true;
    });
    // The parser validated every image it accepted; the size checks keep
    // the rule in one place should an extraction ever come back empty.
    file.valid = SysExFile::isValidPatchImage(file.patchImage) &&
                 (file.zonesImage.empty() || SysExFile::isValidZonesImage(file.zonesImage));
    file.zonesPart = !file.zonesImage.empty() ? ZonesPart::Complete
                     : cut || zonesRefused    ? ZonesPart::Incomplete
                                              : ZonesPart::Missing;
    if (!file.valid)
        file = PatchFile{};
    return file;
}

PatchFile PatchFile::read(const QString &path)
{
    const std::optional<std::vector<Byte>> data = SysExFile::readAll(path);
    return data ? fromBytes(*data) : PatchFile{};
}

QByteArray PatchFile::toBytes(std::span<const Byte> patchImage, std::span<const Byte> zonesImage)
{
    if (!SysExFile::isValidPatchImage(patchImage) || (!zonesImage.empty() && !SysExFile::isValidZonesImage(zonesImage)))
        return {};
    QByteArray out;
    SysExFile::appendPatchTransfer(out, patchImage);
    if (!zonesImage.empty())
        SysExFile::appendZonesTransfer(out, zonesImage);
    return out;
}

#include "editor/app/files/PatchFile.h"

#include "editor/app/files/SysExFile.h"
#include "editor/core/model/CBSysExPatch.h"

PatchFile PatchFile::fromBytes(std::span<const Byte> bytes)
{
    PatchFile file;
    for (SysExFile::Message &message : SysExFile::split(bytes)) {
        SysExContext context;
        if (!SysExFile::parse(message, context))
            break;
        if (context.command == CBSysExPatch::PatchTransfer)
            file.patchImage = SysExFile::extract(context, PatchImageSize);
        else if (context.command == CBSysExPatch::ZonesTransfer)
            file.zonesImage = SysExFile::extract(context, ZonesImageSize);
        else
            break;
    }
    // The parser validated every image it accepted; the size checks keep
    // the rule in one place should an extraction ever come back empty.
    file.valid = SysExFile::isValidPatchImage(file.patchImage) &&
                 (file.zonesImage.empty() || SysExFile::isValidZonesImage(file.zonesImage));
    if (!file.valid) {
        file.patchImage.clear();
        file.zonesImage.clear();
    }
    return file;
}

PatchFile PatchFile::read(const QString &path)
{
    const std::optional<QByteArray> data = SysExFile::readAll(path);
    return data ? fromBytes(SysExFile::bytesOf(*data)) : PatchFile{};
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

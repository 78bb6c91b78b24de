// Arbitrary bytes as the contents of a patch file.
#include "editor/app/files/PatchFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const PatchFile file = PatchFile::fromBytes({data, size});
    if (file.valid != (file.patchImage.size() == PatchImageSize))
        std::abort();
    // An accepted image goes to the controller inside SysEx: data bytes only.
    for (const std::vector<Byte> *image : {&file.patchImage, &file.zonesImage}) {
        if (std::any_of(image->begin(), image->end(), [](Byte b) { return b > 0x7F; }))
            std::abort();
    }
    // Whatever was accepted must write out and read back unchanged.
    if (file.valid && !file.zonesImage.empty()) {
        const QByteArray bytes = PatchFile::toBytes(file.patchImage, file.zonesImage);
        const PatchFile again =
            PatchFile::fromBytes({reinterpret_cast<const Byte *>(bytes.constData()), std::size_t(bytes.size())});
        if (!again.valid || again.patchImage != file.patchImage || again.zonesImage != file.zonesImage)
            std::abort();
    }
    return 0;
}

// Arbitrary bytes as the contents of a bank file.
#include "editor/app/files/BankFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const BankFile file = BankFile::fromBytes({data, size});
    if (file.valid != (file.patchImages.size() == StoredPatchCount))
        std::abort();
    if (file.valid && file.zonesImages.size() == StoredPatchCount) {
        const QByteArray bytes = BankFile::toBytes(file.settings, file.patchImages, file.zonesImages);
        const BankFile again =
            BankFile::fromBytes({reinterpret_cast<const Byte *>(bytes.constData()), std::size_t(bytes.size())});
        if (!again.valid || again.patchImages != file.patchImages || again.zonesImages != file.zonesImages ||
            again.settings != file.settings)
            std::abort();
    }
    return 0;
}

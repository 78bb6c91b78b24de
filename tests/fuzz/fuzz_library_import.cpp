// Arbitrary bytes as a file the library imports: the first byte picks the
// suffix. Whatever the import accepts passes the model's rules, enters the
// library and reads back unchanged.
#include "editor/library/LibraryImport.h"
#include "editor/library/PatchLibrary.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    // Never destroyed: Qt SQL's connection registry, a static too, may go first at exit.
    static PatchLibrary &library = *new PatchLibrary(dir.filePath("library.sqlite"));
    if (size == 0)
        return 0;
    static const char *const suffixes[] = {"vpp", "vpb", "syx"};
    const std::optional<Capture> capture = LibraryImport::captureOf({data + 1, size - 1}, suffixes[data[0] % 3]);
    if (!capture)
        return 0;
    if (!PatchLibrary::isValid(*capture))
        std::abort();
    const std::optional<std::vector<qint64>> ids = library.add({*capture});
    if (!ids || ids->front() == 0)
        std::abort();
    const std::optional<LibraryEntry> entry = library.entry(ids->front());
    if (!entry)
        std::abort();
    if (capture->isBank()
            ? entry->settings != capture->settings || entry->patchIds.size() != 16
            : entry->images.patch != capture->patches[0].patch || entry->images.zones != capture->patches[0].zones)
        std::abort();
    return 0;
}

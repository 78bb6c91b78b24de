#pragma once

#include "editor/library/LibraryTypes.h"

#include <QString>

#include <functional>
#include <optional>
#include <span>

class PatchLibrary;

// Patch (.vpp), bank (.vpb) and SysEx (.syx) files into the library.
namespace LibraryImport {

// What a file's bytes hold, by its suffix; a .syx file is a bank when it
// carries a whole bank, else a patch. Nothing when invalid.
std::optional<Capture> captureOf(std::span<const Byte> bytes, const QString &suffix);

bool isImportable(const QString &path);

struct Summary {
    int imported = 0; // files now in the library (new or already there)
    int skipped = 0;  // unreadable or invalid files
    QString error;    // set when writing failed; the import stopped there
};

// Every importable file below the folder, in batches of one transaction;
// progress(done, total) after each batch.
Summary importFolder(PatchLibrary &library, const QString &folder,
                     const std::function<void(int done, int total)> &progress = {});

} // namespace LibraryImport

#pragma once

#include "editor/core/model/CBPatch.h"
#include "editor/library/LibraryTypes.h"
#include "tests/support/FileBytes.h"

#include <QString>

// Captures for the library's tests: a default patch with one value changed,
// so each octave gives distinct content.
namespace LibraryTestSupport {

inline Capture patchCapture(int octave, Sighting seen = {}, bool withZones = true)
{
    Capture capture;
    capture.patches.push_back(
        {FileBytes::defaultPatch(octave), withZones ? FileBytes::defaultZones() : std::vector<Byte>{}});
    capture.sighting = std::move(seen);
    return capture;
}

// A default patch under another name: distinct content the model accepts.
inline Capture namedCapture(const std::string &name)
{
    Capture capture = patchCapture(4);
    std::string padded = name;
    padded.resize(16, ' ');
    CBPatch::instance().setString(PatchName, padded.c_str(), capture.patches[0].patch.data());
    return capture;
}

inline Capture bankCapture(Sighting seen = {})
{
    Capture capture;
    capture.settings = FileBytes::defaultSettings();
    for (int p = 0; p < StoredPatchCount; ++p)
        capture.patches.push_back({FileBytes::defaultPatch(p % 8), FileBytes::defaultZones()});
    capture.sighting = std::move(seen);
    return capture;
}

inline Sighting controllerSlot(int slot) { return {Sighting::Source::Controller, "SER-1", slot, {}, {}}; }
inline Sighting file(const QString &path) { return {Sighting::Source::File, {}, -1, path, {}}; }

} // namespace LibraryTestSupport

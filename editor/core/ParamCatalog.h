#pragma once

#include "editor/core/Param.h"
#include "editor/core/model/DisplayValues.h"
#include "editor/core/model/PatchTypes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Readable names for every value of the patch, zones and bank-settings
// images, so files can be shown, compared and edited by name.
namespace ParamCatalog {

enum class ImageKind { Patch, Zones, BankSettings };
enum class ValueKind { Number, Text };

struct Entry {
    Entry(std::string name, ImageKind image, ValueKind kind, int id, int index = -1, int field = -1)
        : name(std::move(name)), image(image), kind(kind), id(id), index(index), field(field)
    {
    }

    std::string name; // "Octave", "Knob3.Channel", "Zone1.LowNote"
    ImageKind image;
    ValueKind kind;
    int id;
    int index;
    int field;
    // For values kept in order with a partner: the partner's name and
    // whether this value is the upper one.
    std::string partner;
    bool upper = false;
    // How the editor shows the number.
    DisplayValues::Form form = DisplayValues::Form::Plain;
};

const std::vector<Entry> &patchEntries(); // patch image, then zones image
const std::vector<Entry> &bankSettingsEntries();
const Entry *findPatchEntry(const std::string &name);

// A model parameter for the entry, bound to the given image.
std::unique_ptr<Brisel::Param> makeParam(const Entry &entry, Byte *image);

// The stored number of a number entry.
int storedValue(const Entry &entry, Byte *image);
// The value as text: a number as the editor shows it (as stored when raw),
// or a name without trailing spaces.
std::string valueText(const Entry &entry, Byte *image, bool raw);

} // namespace ParamCatalog

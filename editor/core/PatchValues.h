#pragma once

#include "editor/core/ParamCatalog.h"
#include "editor/core/model/PatchTypes.h"

#include <span>
#include <string>
#include <vector>

// The parameters of patch, zones and bank-settings images by name, and the
// parameter-by-parameter difference of two such lists: the one comparison
// that files, the library and its views share.
namespace PatchValues {

struct Value {
    std::string name;
    ParamCatalog::ValueKind kind;
    std::string text;
    int number = 0; // of a number: as the editor shows it, or as stored when raw
};

// Every patch parameter, then every zones parameter when there is a zones
// image; names carry the prefix ("Patch3."). Numbers as the editor shows
// them, or as stored when raw.
std::vector<Value> ofPatch(std::span<const Byte> patch, std::span<const Byte> zones, const std::string &prefix = {},
                           bool raw = false);
std::vector<Value> ofBankSettings(std::span<const Byte> settings, bool raw = false);

// The patch name without trailing spaces.
std::string patchName(std::span<const Byte> patch);
std::string bankName(std::span<const Byte> settings);

// The value as it is printed: names quoted, numbers bare.
std::string shown(const Value &value);

// "NAME: a -> b" for every parameter that differs, in the order of a, then
// "NAME: (none) -> b" for those only b has.
std::vector<std::string> differences(const std::vector<Value> &a, const std::vector<Value> &b);

} // namespace PatchValues

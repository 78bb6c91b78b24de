#include "editor/core/PatchValues.h"

#include <map>

namespace PatchValues {

namespace {

using ParamCatalog::Entry;
using ParamCatalog::ImageKind;

// The parameter objects write while they read (they clamp), so they get a copy.
std::string textOf(const Entry &entry, std::span<const Byte> image)
{
    std::vector<Byte> copy(image.begin(), image.end());
    return ParamCatalog::valueText(entry, copy.data(), false);
}

Value valueOf(const std::string &name, const Entry &entry, Byte *image, bool raw)
{
    Value value{name, entry.kind, ParamCatalog::valueText(entry, image, raw)};
    if (entry.kind == ParamCatalog::ValueKind::Number) {
        const int stored = ParamCatalog::storedValue(entry, image);
        value.number = raw ? stored : DisplayValues::shown(entry.form, stored);
    }
    return value;
}

} // namespace

std::vector<Value> ofPatch(std::span<const Byte> patch, std::span<const Byte> zones, const std::string &prefix,
                           bool raw)
{
    std::vector<Byte> patchCopy(patch.begin(), patch.end()), zonesCopy(zones.begin(), zones.end());
    std::vector<Value> out;
    for (const Entry &entry : ParamCatalog::patchEntries()) {
        const bool inZones = entry.image == ImageKind::Zones;
        if (inZones && zones.empty())
            continue;
        Byte *image = inZones ? zonesCopy.data() : patchCopy.data();
        out.push_back(valueOf(prefix + entry.name, entry, image, raw));
    }
    return out;
}

std::vector<Value> ofBankSettings(std::span<const Byte> settings, bool raw)
{
    std::vector<Byte> copy(settings.begin(), settings.end());
    std::vector<Value> out;
    for (const Entry &entry : ParamCatalog::bankSettingsEntries())
        out.push_back(valueOf(entry.name, entry, copy.data(), raw));
    return out;
}

std::string patchName(std::span<const Byte> patch) { return textOf(*ParamCatalog::findPatchEntry("PatchName"), patch); }

std::string bankName(std::span<const Byte> settings)
{
    return textOf(ParamCatalog::bankSettingsEntries().front(), settings) /* BankName */;
}

std::string shown(const Value &value)
{
    return value.kind == ParamCatalog::ValueKind::Text ? "\"" + value.text + "\"" : value.text;
}

std::vector<std::string> differences(const std::vector<Value> &a, const std::vector<Value> &b)
{
    std::map<std::string, const Value *> inB;
    for (const Value &v : b)
        inB[v.name] = &v;
    std::vector<std::string> out;
    for (const Value &v : a) {
        auto it = inB.find(v.name);
        if (it == inB.end()) {
            out.push_back(v.name + ": " + shown(v) + " -> (none)");
            continue;
        }
        if (it->second->text != v.text)
            out.push_back(v.name + ": " + shown(v) + " -> " + shown(*it->second));
        inB.erase(it);
    }
    for (const Value &v : b) {
        if (inB.count(v.name))
            out.push_back(v.name + ": (none) -> " + shown(v));
    }
    return out;
}

} // namespace PatchValues

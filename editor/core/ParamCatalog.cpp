#include "editor/core/ParamCatalog.h"

#include "editor/core/PatchParams.h"

#include <algorithm>

namespace ParamCatalog {

namespace {

using DisplayValues::Form;

struct Named {
    int code;
    const char *name;
    Form form = Form::Plain;
};

constexpr Named patchScalars[] = {{ChannelModeChannel, "ChannelModeChannel", Form::Channel},
                                  {SixteenChannelModeCC, "SixteenChannelModeCC"},
                                  {AdvancedMode, "AdvancedMode"},
                                  {ProgramChangeMasterEnable, "ProgramChangeMasterEnable"},
                                  {LoadValues, "LoadValues"},
                                  {SaveValues, "SaveValues"},
                                  {Octave, "Octave", Form::Octave},
                                  {Semitone, "Semitone", Form::Semitone},
                                  {NoteLatchMode, "NoteLatchMode"},
                                  {NoteLatchLowNote, "NoteLatchLowNote", Form::Note},
                                  {NoteLatchHighNote, "NoteLatchHighNote", Form::Note},
                                  {VelocityCurve, "VelocityCurve", Form::Curve}};

constexpr Named controlFields[] = {{ControlChannel, "Channel", Form::Channel},
                                   {ControlMode, "Mode"},
                                   {ControlNumber, "Number"},
                                   {ControlValue, "Value"},
                                   {ControlValue14, "Value14"}};

constexpr Named programFields[] = {
    {ProgramEnable, "Enable"}, {ProgramNumber, "Number"}, {ProgramBankLsb, "BankLsb"}, {ProgramBankMsb, "BankMsb"}};

constexpr Named zoneFields[] = {{ZoneChannel, "Channel", Form::Channel},
                                {ZoneLowNote, "LowNote", Form::Note},
                                {ZoneHighNote, "HighNote", Form::Note},
                                {ZoneTranspose, "Transpose", Form::Transpose},
                                {ZoneLowVelocity, "LowVelocity"},
                                {ZoneHighVelocity, "HighVelocity"},
                                {ZoneEnable, "Enable"},
                                {ZoneSendPitchWheel, "SendPitchWheel"},
                                {ZoneSendModWheel, "SendModWheel"},
                                {ZoneSendAftertouch, "SendAftertouch"},
                                {ZoneSendSustain, "SendSustain"},
                                {ZoneNoteLatch, "NoteLatch"},
                                {ZonePostZoneOctaveTranspose, "PostZoneOctaveTranspose"}};

// Pairs kept in order by the model's bound parameters: (lower, upper).
constexpr int boundSettings[][2] = {{NoteLatchLowNote, NoteLatchHighNote}};
constexpr int boundZoneFields[][2] = {{ZoneLowNote, ZoneHighNote}, {ZoneLowVelocity, ZoneHighVelocity}};

std::string controlPrefix(int index)
{
    switch (index) {
    case ModWheelControl:
        return "ModWheel";
    case FootSwitchControl:
        return "FootSwitch";
    case AftertouchControl:
        return "Aftertouch";
    case PitchWheelControl:
        return "PitchWheel";
    default:
        return "Knob" + std::to_string(index + 1);
    }
}

const char *nameOf(const Named *begin, const Named *end, int code)
{
    auto it = std::find_if(begin, end, [code](const Named &n) { return n.code == code; });
    return it == end ? "" : it->name;
}

template <std::size_t N>
void setPartner(Entry &entry, const int (&pairs)[N][2], const std::string &prefix, const Named *names,
                std::size_t nameCount, int code)
{
    for (const auto &pair : pairs) {
        if (pair[0] == code || pair[1] == code) {
            entry.upper = pair[1] == code;
            entry.partner = prefix + nameOf(names, names + nameCount, entry.upper ? pair[0] : pair[1]);
        }
    }
}

std::vector<Entry> buildPatchEntries()
{
    std::vector<Entry> out;
    out.push_back({"PatchName", ImageKind::Patch, ValueKind::Text, PatchName});
    for (const Named &s : patchScalars) {
        Entry e{s.name, ImageKind::Patch, ValueKind::Number, s.code};
        e.form = s.form;
        setPartner(e, boundSettings, "", patchScalars, std::size(patchScalars), s.code);
        out.push_back(e);
    }
    for (int i = 0; i < ControlCount; ++i) {
        const std::string prefix = controlPrefix(i) + ".";
        out.push_back({prefix + "Name", ImageKind::Patch, ValueKind::Text, Control, i, ControlName});
        for (const Named &f : controlFields) {
            out.push_back({prefix + f.name, ImageKind::Patch, ValueKind::Number, Control, i, f.code});
            out.back().form = f.form;
        }
    }
    for (int j = 0; j < ProgramChangeCount; ++j) {
        for (const Named &f : programFields) {
            out.push_back({"Program" + std::to_string(j + 1) + "." + f.name, ImageKind::Patch, ValueKind::Number,
                           ProgramChange, j, f.code});
        }
    }
    out.push_back({"ZonesMasterEnable", ImageKind::Zones, ValueKind::Number, ZonesMasterEnable});
    out.push_back({"ZoneTransposePosition", ImageKind::Zones, ValueKind::Number, ZoneTransposePosition});
    for (int z = 0; z < ZoneCount; ++z) {
        const std::string prefix = "Zone" + std::to_string(z + 1) + ".";
        for (const Named &f : zoneFields) {
            Entry e{prefix + f.name, ImageKind::Zones, ValueKind::Number, Zone, z, f.code};
            e.form = f.form;
            setPartner(e, boundZoneFields, prefix, zoneFields, std::size(zoneFields), f.code);
            out.push_back(e);
        }
    }
    return out;
}

} // namespace

const std::vector<Entry> &patchEntries()
{
    static const std::vector<Entry> entries = buildPatchEntries();
    return entries;
}

const std::vector<Entry> &bankSettingsEntries()
{
    static const std::vector<Entry> entries{
        {"BankName", ImageKind::BankSettings, ValueKind::Text, BankName},
        {"BankCurrentPatch", ImageKind::BankSettings, ValueKind::Number, BankCurrentPatch}};
    return entries;
}

const Entry *findPatchEntry(const std::string &name)
{
    const auto &entries = patchEntries();
    auto it = std::find_if(entries.begin(), entries.end(), [&name](const Entry &e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

std::unique_ptr<Brisel::Param> makeParam(const Entry &entry, Byte *image)
{
    using namespace Brisel;
    if (entry.kind == ValueKind::Text) {
        if (entry.id == Control)
            return std::make_unique<StringPatchControlParam>(entry.index, image);
        return std::make_unique<StringPatchParam>(entry.id, NameLength, image);
    }
    if (entry.index >= 0)
        return std::make_unique<ScalarPatchControlParam>(entry.id, entry.index, entry.field, image);
    return std::make_unique<ScalarPatchParam>(entry.id, image);
}

int storedValue(const Entry &entry, Byte *image)
{
    const std::unique_ptr<Brisel::Param> param = makeParam(entry, image);
    return static_cast<Brisel::ScalarParam &>(*param).value();
}

std::string valueText(const Entry &entry, Byte *image, bool raw)
{
    if (entry.kind == ValueKind::Text)
        return static_cast<Brisel::StringParam &>(*makeParam(entry, image)).value();
    const int value = storedValue(entry, image);
    return raw ? std::to_string(value) : DisplayValues::text(entry.form, value);
}

} // namespace ParamCatalog

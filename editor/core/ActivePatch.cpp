#include "editor/core/ActivePatch.h"

#include "editor/core/model/CBPatch.h"

#include <algorithm>

namespace Brisel {

namespace {

// Construction order of the settings before the note-latch bounds; the
// velocity curve (14) follows them.
constexpr int settingsOrder[] = {
    ProgramChangeMasterEnable, LoadValues, SaveValues, SixteenChannelModeCC, AdvancedMode,
    ChannelModeChannel,        Octave,     Semitone,   NoteLatchMode,        NoteLatchLowNote,
    NoteLatchHighNote};

// Control sets in construction order; aftertouch (18) has none.
constexpr int controlOrder[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, FootSwitchControl, PitchWheelControl, ModWheelControl};

constexpr int zoneFieldOrder[] = {ZoneEnable,
                                  ZoneChannel,
                                  ZoneLowNote,
                                  ZoneHighNote,
                                  ZoneTranspose,
                                  ZoneLowVelocity,
                                  ZoneHighVelocity,
                                  ZoneSendPitchWheel,
                                  ZoneSendModWheel,
                                  ZoneSendAftertouch,
                                  ZoneSendSustain,
                                  ZoneNoteLatch,
                                  ZonePostZoneOctaveTranspose};

template <std::size_t N>
std::array<std::unique_ptr<ScalarPatchControlParam>, N> makeZoneFields(int index, int firstField)
{
    std::array<std::unique_ptr<ScalarPatchControlParam>, N> fields;
    for (int field : zoneFieldOrder)
        fields[std::size_t(field - firstField)] = std::make_unique<ScalarPatchControlParam>(Zone, index, field);
    return fields;
}

bool isBoundZoneField(int field)
{
    return field == ZoneLowNote || field == ZoneHighNote || field == ZoneLowVelocity || field == ZoneHighVelocity;
}

} // namespace

ControlParams::ControlParams(int index)
    : name(index)
    , channel(Control, index, ControlChannel)
    , number(Control, index, ControlNumber)
    , value(Control, index, ControlValue)
    , value14(Control, index, ControlValue14)
    , mode(Control, index, ControlMode)
{
}

ProgramParams::ProgramParams(int index)
    : enable(ProgramChange, index, ProgramEnable)
    , bankMsb(ProgramChange, index, ProgramBankMsb)
    , bankLsb(ProgramChange, index, ProgramBankLsb)
    , number(ProgramChange, index, ProgramNumber)
{
}

ZoneParams::ZoneParams(int index)
    : m_fields(makeZoneFields<FieldCount>(index, FirstField))
    , m_lowNote(field(ZoneLowNote), field(ZoneHighNote), BoundScalarParam::Lower)
    , m_highNote(field(ZoneHighNote), field(ZoneLowNote), BoundScalarParam::Upper)
    , m_lowVelocity(field(ZoneLowVelocity), field(ZoneHighVelocity), BoundScalarParam::Lower)
    , m_highVelocity(field(ZoneHighVelocity), field(ZoneLowVelocity), BoundScalarParam::Upper)
{
}

ScalarPatchControlParam &ZoneParams::field(int field) { return *m_fields.at(std::size_t(field - FirstField)); }

ScalarParam &ZoneParams::binding(int field)
{
    switch (field) {
    case ZoneLowNote:
        return m_lowNote;
    case ZoneHighNote:
        return m_highNote;
    case ZoneLowVelocity:
        return m_lowVelocity;
    case ZoneHighVelocity:
        return m_highVelocity;
    default:
        return this->field(field);
    }
}

std::vector<Param *> ZoneParams::params()
{
    std::vector<Param *> out;
    for (int f : zoneFieldOrder) {
        if (!isBoundZoneField(f))
            out.push_back(&field(f));
    }
    out.insert(out.end(), {&m_lowNote, &m_highNote, &m_lowVelocity, &m_highVelocity});
    return out;
}

PatchSettings::PatchSettings()
{
    for (int id : settingsOrder)
        m_scalars[std::size_t(id)] = std::make_unique<ScalarPatchParam>(id);
    m_noteLatchLow = std::make_unique<BoundScalarParam>(scalar(NoteLatchLowNote), scalar(NoteLatchHighNote),
                                                        BoundScalarParam::Lower);
    m_noteLatchHigh = std::make_unique<BoundScalarParam>(scalar(NoteLatchHighNote), scalar(NoteLatchLowNote),
                                                         BoundScalarParam::Upper);
    m_scalars[VelocityCurve] = std::make_unique<ScalarPatchParam>(VelocityCurve);
    for (int index : controlOrder)
        m_controls[std::size_t(index)] = std::make_unique<ControlParams>(index);
    for (int j = 0; j < ProgramChangeCount; ++j)
        m_programs[std::size_t(j)] = std::make_unique<ProgramParams>(j);
}

ScalarPatchParam &PatchSettings::scalar(int id) { return *m_scalars.at(std::size_t(id)); }

ScalarParam &PatchSettings::setting(int id)
{
    if (id == NoteLatchLowNote)
        return *m_noteLatchLow;
    if (id == NoteLatchHighNote)
        return *m_noteLatchHigh;
    return scalar(id);
}

ControlParams *PatchSettings::control(int index) { return m_controls.at(std::size_t(index)).get(); }

std::vector<Param *> PatchSettings::params()
{
    std::vector<Param *> out;
    for (int id : settingsOrder) {
        if (id != NoteLatchLowNote && id != NoteLatchHighNote)
            out.push_back(&scalar(id));
    }
    out.insert(out.end(), {m_noteLatchLow.get(), m_noteLatchHigh.get(), &scalar(VelocityCurve)});
    for (int index : controlOrder) {
        ControlParams &c = *m_controls[std::size_t(index)];
        out.insert(out.end(), {&c.name, &c.channel, &c.number, &c.value, &c.value14, &c.mode});
    }
    for (auto &p : m_programs)
        out.insert(out.end(), {&p->enable, &p->bankMsb, &p->bankLsb, &p->number});
    return out;
}

ZonesSettings::ZonesSettings() : m_masterEnable(ZonesMasterEnable), m_transposePosition(ZoneTransposePosition)
{
    for (int z = 0; z < ZoneCount; ++z)
        m_zones[std::size_t(z)] = std::make_unique<ZoneParams>(z);
}

std::vector<Param *> ZonesSettings::params()
{
    std::vector<Param *> out{&m_masterEnable, &m_transposePosition};
    for (auto &zone : m_zones) {
        std::vector<Param *> zoneParams = zone->params();
        out.insert(out.end(), zoneParams.begin(), zoneParams.end());
    }
    return out;
}

ActivePatch::ActivePatch() : m_name(PatchName, NameLength)
{
    m_modified.track(m_name);
    for (Param *param : m_settings.params())
        m_modified.track(*param);
    for (Param *param : m_zones.params())
        m_modified.track(*param);
}

bool ActivePatch::setPatchImage(std::span<const Byte> bytes)
{
    if (bytes.size() != PatchImageSize)
        return false;
    PatchImage copy;
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    CBPatch &model = CBPatch::instance();
    if (!model.validatePatchImage(copy.data()))
        return false;
    model.copyPatchImage(nullptr, copy.data());
    m_settings.imageSubject().notify();
    return true;
}

bool ActivePatch::setZonesImage(std::span<const Byte> bytes)
{
    if (bytes.size() != ZonesImageSize)
        return false;
    ZonesImage copy;
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    CBPatch &model = CBPatch::instance();
    if (!model.validateZonesImage(copy.data()))
        return false;
    model.copyZonesImage(nullptr, copy.data());
    m_zones.imageSubject().notify();
    return true;
}

std::vector<Byte> ActivePatch::patchImage() const
{
    std::vector<Byte> out(PatchImageSize);
    CBPatch::instance().copyPatchImage(out.data(), nullptr);
    return out;
}

std::vector<Byte> ActivePatch::zonesImage() const
{
    std::vector<Byte> out(ZonesImageSize);
    CBPatch::instance().copyZonesImage(out.data(), nullptr);
    return out;
}

} // namespace Brisel

#include "editor/core/model/CBPatch.h"

#include "editor/core/model/CBSysExPatch.h"

#include <algorithm>
#include <cstring>

namespace {

enum class Encoding {
    Byte,
    Bit,
    HighFirst14, // high 7 bits at the offset, low 7 bits after it
    LowFirst14,  // low 7 bits at the offset, high bits after it
};

struct ValueLayout {
    int offset; // in the image for scalars, in the record for fields
    Encoding encoding;
    int bit;
    int min;
    int max;
};

constexpr ValueLayout byteValue(int offset, int min, int max) { return {offset, Encoding::Byte, 0, min, max}; }
constexpr ValueLayout bitValue(int offset, int bit) { return {offset, Encoding::Bit, bit, 0, 1}; }

struct ScalarEntry {
    int id;
    ValueLayout layout;
};

constexpr ScalarEntry scalarTable[] = {
    {BankCurrentPatch, byteValue(16, 1, 16)},
    {ChannelModeChannel, byteValue(16, 0, 15)},
    {SixteenChannelModeCC, byteValue(17, 0, 127)},
    {AdvancedMode, byteValue(18, 0, 1)},
    {ProgramChangeMasterEnable, byteValue(19, 0, 1)},
    {LoadValues, byteValue(20, 0, 1)},
    {SaveValues, byteValue(21, 0, 1)},
    {Octave, byteValue(22, 0, 8)},
    {Semitone, byteValue(23, 0, 127)},
    {NoteLatchMode, byteValue(24, 0, 1)},
    {NoteLatchLowNote, byteValue(25, 0, 127)},
    {NoteLatchHighNote, byteValue(26, 0, 127)},
    {VelocityCurve, byteValue(27, 0, 7)},
    {ZonesMasterEnable, bitValue(0, 0)},
    {ZoneTransposePosition, bitValue(0, 1)},
};

// Indexed parameters: a run of equal records inside one image.
struct RecordLayout {
    int id;
    int base;
    int stride;
    int count;
    int firstField;
    int lastField;
};

constexpr RecordLayout recordTable[] = {
    {Control, 28, 13, ControlCount, ControlChannel, ControlValue14},
    {ProgramChange, 288, 4, ProgramChangeCount, ProgramEnable, ProgramBankMsb},
    {Zone, 8, 14, ZoneCount, ZoneChannel, ZonePostZoneOctaveTranspose},
};

// Indexed by field code 1..22; entry 0 (the control name) is text.
constexpr ValueLayout fieldTable[] = {
    byteValue(0, 0, 0),
    byteValue(8, 0, 15),                      // ControlChannel
    byteValue(9, 8, 15),                      // ControlMode
    byteValue(10, 0, 127),                    // ControlNumber
    byteValue(11, 0, 127),                    // ControlValue
    {11, Encoding::HighFirst14, 0, 0, 16383}, // ControlValue14
    byteValue(0, 0, 1),                       // ProgramEnable
    byteValue(1, 0, 127),                     // ProgramNumber
    byteValue(2, 0, 127),                     // ProgramBankLsb
    byteValue(3, 0, 127),                     // ProgramBankMsb
    byteValue(0, 0, 15),                      // ZoneChannel
    byteValue(1, 0, 127),                     // ZoneLowNote
    byteValue(2, 0, 127),                     // ZoneHighNote
    {3, Encoding::LowFirst14, 0, 0, 255},     // ZoneTranspose
    byteValue(5, 1, 127),                     // ZoneLowVelocity
    byteValue(6, 1, 127),                     // ZoneHighVelocity
    bitValue(7, 0),                           // ZoneEnable
    bitValue(7, 1),                           // ZoneSendPitchWheel
    bitValue(7, 2),                           // ZoneSendModWheel
    bitValue(7, 3),                           // ZoneSendAftertouch
    bitValue(7, 4),                           // ZoneSendSustain
    bitValue(7, 5),                           // ZoneNoteLatch
    bitValue(7, 6),                           // ZonePostZoneOctaveTranspose
};

const ValueLayout *scalarLayout(int id)
{
    for (const ScalarEntry &entry : scalarTable) {
        if (entry.id == id)
            return &entry.layout;
    }
    return nullptr;
}

const RecordLayout *recordLayout(int id)
{
    for (const RecordLayout &record : recordTable) {
        if (record.id == id)
            return &record;
    }
    return nullptr;
}

// The field's layout when the field belongs to the record of this id.
const ValueLayout *fieldLayout(const RecordLayout &record, int field)
{
    if (field < record.firstField || field > record.lastField)
        return nullptr;
    return &fieldTable[field];
}

int readValue(const Byte *p, const ValueLayout &layout)
{
    switch (layout.encoding) {
    case Encoding::Byte:
        return p[layout.offset];
    case Encoding::Bit:
        return (p[layout.offset] >> layout.bit) & 1;
    case Encoding::HighFirst14:
        return p[layout.offset] * 128 + p[layout.offset + 1];
    case Encoding::LowFirst14:
        return p[layout.offset] + p[layout.offset + 1] * 128;
    }
    return 0;
}

void writeValue(Byte *p, const ValueLayout &layout, int value)
{
    switch (layout.encoding) {
    case Encoding::Byte:
        p[layout.offset] = Byte(value);
        break;
    case Encoding::Bit:
        p[layout.offset] = Byte((p[layout.offset] & ~(1 << layout.bit)) | (value << layout.bit));
        break;
    case Encoding::HighFirst14:
        p[layout.offset] = Byte((value >> 7) & 0x7F);
        p[layout.offset + 1] = Byte(value & 0x7F);
        break;
    case Encoding::LowFirst14:
        p[layout.offset] = Byte(value & 0x7F);
        p[layout.offset + 1] = Byte((value >> 7) & 0x7F);
        break;
    }
}

bool inRange(const ValueLayout &layout, int value) { return value >= layout.min && value <= layout.max; }

int textOffset(int id)
{
    // Both names sit at offset 0 of their image.
    return (id == BankName || id == PatchName) ? 0 : -1;
}

// Every byte of an image travels as a SysEx data byte, also the ones no range
// covers (reserved bytes, the low byte of a 14-bit value, unused bits): one
// with the top bit set would break the message that carries the image.
bool allSevenBit(const Byte *image, int size)
{
    return std::none_of(image, image + size, [](Byte b) { return (b & 0x80) != 0; });
}

int compareBytes(const Byte *a, const Byte *b, int size)
{
    const int r = std::memcmp(a, b, size_t(size));
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

struct ControlDefault {
    const char *name;
    int number;
    int mode;
};

constexpr ControlDefault controlDefaults[ControlCount] = {
    {"Tone    ", 21, ModeCC},
    {"Presence", 22, ModeCC},
    {"Filt Atk", 23, ModeCC},
    {"Filt Dcy", 24, ModeCC},
    {"Attack  ", 25, ModeCC},
    {"Decay   ", 26, ModeCC},
    {"Start   ", 27, ModeCC},
    {"Release ", 28, ModeCC},
    {"Vel-Vol ", 70, ModeCC},
    {"Vel-FC  ", 71, ModeCC},
    {"Retrig  ", 72, ModeCC},
    {"Rate    ", 73, ModeCC},
    {"Pitch Up", 91, ModeCC},
    {"Pitch Dn", 93, ModeCC},
    {"FX A    ", 82, ModeCC},
    {"FX B    ", 83, ModeCC},
    {"ModWheel", 1, ModeCC},
    {"CtlPedal", 64, ModeCC},
    {"AftTouch", 0, ModeChannelAftertouch},
    {"PitchWhl", 0, ModePitchWheel},
};

constexpr int patchDefaults[][2] = {
    {ChannelModeChannel, 0},
    {SixteenChannelModeCC, 7},
    {AdvancedMode, 0},
    {ProgramChangeMasterEnable, 0},
    {LoadValues, 0},
    {SaveValues, 0},
    {Octave, 4},
    {Semitone, 64},
    {NoteLatchMode, 0},
    {NoteLatchLowNote, 36},
    {NoteLatchHighNote, 60},
    {VelocityCurve, 4},
};

constexpr int zoneDefaults[][2] = {
    {ZoneLowNote, 0},
    {ZoneHighNote, 127},
    {ZoneLowVelocity, 1},
    {ZoneHighVelocity, 127},
    {ZoneEnable, 0},
    {ZoneSendPitchWheel, 1},
    {ZoneSendModWheel, 1},
    {ZoneSendAftertouch, 1},
    {ZoneSendSustain, 1},
    {ZoneNoteLatch, 1},
    {ZonePostZoneOctaveTranspose, 0},
};

constexpr char defaultPatchName[] = "PelinorX PatchXX";
constexpr char defaultBankName[] = "PelinorX Bank 01";

} // namespace

CBPatch &CBPatch::instance()
{
    static CBPatch patch;
    return patch;
}

CBPatch::CBPatch() : m_sysEx(std::make_unique<CBSysExPatch>(*this))
{
    initPatch();
    initZones();
    initBankSettings();
}

CBPatch::~CBPatch() = default;

bool CBPatch::isLegalNameChar(char c)
{
    if (c < 0x20 || c > 0x7E)
        return false;
    return std::strchr("\"*/:<>?\\|", c) == nullptr;
}

Byte *CBPatch::ownImageFor(int id)
{
    if (id == BankName || id == BankCurrentPatch)
        return m_bankSettings.data();
    if (id >= ZonesMasterEnable && id <= Zone)
        return m_zones.data();
    return m_patch.data();
}

const Byte *CBPatch::ownImageFor(int id) const { return const_cast<CBPatch *>(this)->ownImageFor(id); }

void CBPatch::initPatch(Byte *image)
{
    image = resolve(PatchName, image);
    setString(PatchName, defaultPatchName, image);
    for (const auto &[id, value] : patchDefaults)
        setScalar(id, value, image);
    for (int i = 0; i < ControlCount; ++i) {
        setControlName(Control, i, ControlName, controlDefaults[i].name, image);
        setField(Control, i, ControlNumber, controlDefaults[i].number, image);
        setField(Control, i, ControlChannel, (i + 4) % 16, image);
        setField(Control, i, ControlMode, controlDefaults[i].mode, image);
        setField(Control, i, ControlValue14, i == PitchWheelControl ? 8192 : 0, image);
    }
    for (int j = 0; j < ProgramChangeCount; ++j) {
        for (int field = ProgramEnable; field <= ProgramBankMsb; ++field)
            setField(ProgramChange, j, field, 0, image);
    }
}

void CBPatch::initZones(Byte *image)
{
    image = resolve(Zone, image);
    std::fill_n(image, ZonesImageSize, Byte(0));
    setScalar(ZonesMasterEnable, 0, image);
    setScalar(ZoneTransposePosition, 0, image);
    for (int z = 0; z < ZoneCount; ++z) {
        setField(Zone, z, ZoneChannel, z, image);
        setField(Zone, z, ZoneTranspose, 128, image);
        for (const auto &[field, value] : zoneDefaults)
            setField(Zone, z, field, value, image);
    }
}

void CBPatch::initBankSettings(Byte *record)
{
    record = resolve(BankName, record);
    setString(BankName, defaultBankName, record);
    setScalar(BankCurrentPatch, 1, record);
}

bool CBPatch::setControlName(int id, int index, int field, const char *chars8, Byte *image)
{
    if (id != Control || field != ControlName)
        return true;
    if (index < 0 || index >= ControlCount)
        return false;
    Byte *p = resolve(id, image) + recordTable[0].base + index * recordTable[0].stride;
    for (int k = 0; k < ControlNameLength; ++k)
        p[k] = Byte(chars8[k] & 0x7F);
    return true;
}

bool CBPatch::setString(int id, const char *text16, Byte *image)
{
    const int offset = textOffset(id);
    if (offset < 0)
        return true;
    if (!std::all_of(text16, text16 + NameLength, isLegalNameChar))
        return false;
    std::memcpy(resolve(id, image) + offset, text16, NameLength);
    return true;
}

bool CBPatch::setField(int id, int index, int field, int value, Byte *image)
{
    const RecordLayout *record = recordLayout(id);
    const ValueLayout *layout = record ? fieldLayout(*record, field) : nullptr;
    if (!layout)
        return true;
    if (index < 0 || index >= record->count || !inRange(*layout, value))
        return false;
    writeValue(resolve(id, image) + record->base + index * record->stride, *layout, value);
    return true;
}

bool CBPatch::setScalar(int id, int value, Byte *image)
{
    const ValueLayout *layout = scalarLayout(id);
    if (!layout)
        return true;
    if (!inRange(*layout, value))
        return false;
    writeValue(resolve(id, image), *layout, value);
    return true;
}

bool CBPatch::getControlName(int id, int index, int field, char *out8, const Byte *image) const
{
    if (id != Control || field != ControlName || index < 0 || index >= ControlCount)
        return false;
    const Byte *p = resolve(id, image) + recordTable[0].base + index * recordTable[0].stride;
    std::memcpy(out8, p, ControlNameLength);
    return true;
}

bool CBPatch::getString(int id, char *out16, const Byte *image) const
{
    const int offset = textOffset(id);
    if (offset < 0)
        return false;
    std::memcpy(out16, resolve(id, image) + offset, NameLength);
    return true;
}

bool CBPatch::getField(int id, int index, int field, int *out, const Byte *image) const
{
    const RecordLayout *record = recordLayout(id);
    const ValueLayout *layout = record ? fieldLayout(*record, field) : nullptr;
    if (!layout || index < 0 || index >= record->count)
        return false;
    *out = readValue(resolve(id, image) + record->base + index * record->stride, *layout);
    return true;
}

bool CBPatch::getScalar(int id, int *out, const Byte *image) const
{
    const ValueLayout *layout = scalarLayout(id);
    if (!layout)
        return false;
    *out = readValue(resolve(id, image), *layout);
    return true;
}

int CBPatch::minimum(int id, int field) const
{
    if (const ValueLayout *layout = scalarLayout(id))
        return layout->min;
    const RecordLayout *record = recordLayout(id);
    const ValueLayout *layout = record ? fieldLayout(*record, field) : nullptr;
    return layout ? layout->min : field;
}

int CBPatch::maximum(int id, int field) const
{
    if (const ValueLayout *layout = scalarLayout(id))
        return layout->max;
    const RecordLayout *record = recordLayout(id);
    const ValueLayout *layout = record ? fieldLayout(*record, field) : nullptr;
    return layout ? layout->max : field;
}

void CBPatch::copyPatchImage(Byte *dst, const Byte *src)
{
    std::memmove(resolve(PatchName, dst), resolve(PatchName, src), PatchImageSize);
}

void CBPatch::copyZonesImage(Byte *dst, const Byte *src)
{
    std::memmove(resolve(Zone, dst), resolve(Zone, src), ZonesImageSize);
}

void CBPatch::copyBankSettings(Byte *dst, const Byte *src)
{
    std::memmove(resolve(BankName, dst), resolve(BankName, src), BankSettingsSize);
}

bool CBPatch::validatePatchImage(Byte *image)
{
    image = resolve(PatchName, image);
    bool valid = true;
    char name[NameLength];
    getString(PatchName, name, image);
    valid &= setString(PatchName, name, image);
    for (int id = ChannelModeChannel; id <= VelocityCurve; ++id) {
        int value = 0;
        getScalar(id, &value, image);
        valid &= setScalar(id, value, image);
    }
    for (int i = 0; i < ControlCount; ++i) {
        char controlName[ControlNameLength];
        getControlName(Control, i, ControlName, controlName, image);
        setControlName(Control, i, ControlName, controlName, image);
        for (int field = ControlChannel; field <= ControlValue; ++field) {
            int value = 0;
            getField(Control, i, field, &value, image);
            valid &= setField(Control, i, field, value, image);
        }
    }
    for (int j = 0; j < ProgramChangeCount; ++j) {
        for (int field = ProgramEnable; field <= ProgramBankMsb; ++field) {
            int value = 0;
            getField(ProgramChange, j, field, &value, image);
            valid &= setField(ProgramChange, j, field, value, image);
        }
    }
    // Checked last: the control names have been masked by now, as their
    // setter does; any other byte above 0x7F is still refused.
    return valid && allSevenBit(image, PatchImageSize);
}

bool CBPatch::validateZonesImage(Byte *image)
{
    image = resolve(Zone, image);
    bool valid = allSevenBit(image, ZonesImageSize);
    for (int id : {ZonesMasterEnable, ZoneTransposePosition}) {
        int value = 0;
        getScalar(id, &value, image);
        valid &= setScalar(id, value, image);
    }
    for (int z = 0; z < ZoneCount; ++z) {
        for (int field = ZoneChannel; field <= ZonePostZoneOctaveTranspose; ++field) {
            int value = 0;
            getField(Zone, z, field, &value, image);
            valid &= setField(Zone, z, field, value, image);
        }
    }
    return valid;
}

bool CBPatch::validateBankSettings(Byte *record)
{
    record = resolve(BankName, record);
    char name[NameLength];
    getString(BankName, name, record);
    bool valid = setString(BankName, name, record);
    int current = 0;
    getScalar(BankCurrentPatch, &current, record);
    valid &= setScalar(BankCurrentPatch, current, record);
    return valid;
}

int CBPatch::comparePatchImages(const Byte *a, const Byte *b) const
{
    return compareBytes(resolve(PatchName, a), resolve(PatchName, b), PatchImageSize);
}

int CBPatch::compareZonesImages(const Byte *a, const Byte *b) const
{
    return compareBytes(resolve(Zone, a), resolve(Zone, b), ZonesImageSize);
}

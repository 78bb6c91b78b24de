#pragma once

#include "editor/core/BoundScalarParam.h"
#include "editor/core/ModifiedStatus.h"
#include "editor/core/Observer.h"
#include "editor/core/PatchParams.h"
#include "editor/core/RequestTargets.h"

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace Brisel {

// The parameters of one control of the active patch.
struct ControlParams {
    explicit ControlParams(int index);

    StringPatchControlParam name;
    ScalarPatchControlParam channel;
    ScalarPatchControlParam number;
    ScalarPatchControlParam value;
    ScalarPatchControlParam value14;
    ScalarPatchControlParam mode;
};

// The parameters of one program change of the active patch.
struct ProgramParams {
    explicit ProgramParams(int index);

    ScalarPatchControlParam enable;
    ScalarPatchControlParam bankMsb;
    ScalarPatchControlParam bankLsb;
    ScalarPatchControlParam number;
};

// The parameters of one keyboard zone of the active patch.
class ZoneParams
{
public:
    explicit ZoneParams(int index);

    // The plain parameter of a zone field (10..22).
    ScalarPatchControlParam &field(int field);
    // What a widget binds to: the bound parameter for the notes and
    // velocities, the plain one otherwise.
    ScalarParam &binding(int field);
    // Every parameter whose notification reports a change, each change once.
    std::vector<Param *> params();

private:
    static constexpr int FirstField = ZoneChannel;
    static constexpr int FieldCount = ZonePostZoneOctaveTranspose - ZoneChannel + 1;

    std::array<std::unique_ptr<ScalarPatchControlParam>, FieldCount> m_fields;
    BoundScalarParam m_lowNote;
    BoundScalarParam m_highNote;
    BoundScalarParam m_lowVelocity;
    BoundScalarParam m_highVelocity;
};

// Settings, controls and program changes of the active patch, on CBPatch's
// own patch image.
class PatchSettings
{
public:
    PatchSettings();

    // The plain parameter of a setting id (3..14).
    ScalarPatchParam &scalar(int id);
    // What a widget binds to: the bound note-latch parameters for ids 12 and
    // 13, the plain one otherwise.
    ScalarParam &setting(int id);
    BoundScalarParam &noteLatchLow() { return *m_noteLatchLow; }
    BoundScalarParam &noteLatchHigh() { return *m_noteLatchHigh; }
    // Control 0..19; null for aftertouch (18), which is not edited.
    ControlParams *control(int index);
    ProgramParams &program(int index) { return *m_programs.at(std::size_t(index)); }
    // Notified when the whole patch image is replaced.
    Utils::Subject &imageSubject() { return m_imageSubject; }

    // Every parameter whose notification reports a change, each change once:
    // a bound parameter stands for the plain one it watches.
    std::vector<Param *> params();

private:
    std::array<std::unique_ptr<ScalarPatchParam>, VelocityCurve + 1> m_scalars;
    std::unique_ptr<BoundScalarParam> m_noteLatchLow;
    std::unique_ptr<BoundScalarParam> m_noteLatchHigh;
    std::array<std::unique_ptr<ControlParams>, ControlCount> m_controls;
    std::array<std::unique_ptr<ProgramParams>, ProgramChangeCount> m_programs;
    Utils::Subject m_imageSubject;
};

// The zones of the active patch, on CBPatch's own zones image.
class ZonesSettings
{
public:
    ZonesSettings();

    ScalarPatchParam &masterEnable() { return m_masterEnable; }
    ScalarPatchParam &transposePosition() { return m_transposePosition; }
    ZoneParams &zone(int index) { return *m_zones.at(std::size_t(index)); }
    // Notified when the whole zones image is replaced.
    Utils::Subject &imageSubject() { return m_imageSubject; }

    std::vector<Param *> params();

private:
    ScalarPatchParam m_masterEnable;
    ScalarPatchParam m_transposePosition;
    std::array<std::unique_ptr<ZoneParams>, ZoneCount> m_zones;
    Utils::Subject m_imageSubject;
};

// The patch being edited: CBPatch's own patch and zones images seen as
// parameters, with a modified status that every edit turns on.
class ActivePatch : public PatchTarget
{
public:
    ActivePatch();

    StringPatchParam &name() { return m_name; }
    ModifiedStatus &modifiedStatus() { return m_modified; }
    PatchSettings &settings() { return m_settings; }
    ZonesSettings &zones() { return m_zones; }

    // Replace a whole image; refused unless it has the exact size and every
    // value is legal. Does not touch the modified status.
    bool setPatchImage(std::span<const Byte> bytes);
    bool setZonesImage(std::span<const Byte> bytes);
    bool setPatchImage(const std::vector<Byte> &bytes) override { return setPatchImage(std::span(bytes)); }
    bool setZonesImage(const std::vector<Byte> &bytes) override { return setZonesImage(std::span(bytes)); }
    // The device addresses the active patch as patch number 0.
    int number() const override { return 0; }
    std::vector<Byte> patchImage() const;
    std::vector<Byte> zonesImage() const;

    ActivePatch(const ActivePatch &) = delete;
    ActivePatch &operator=(const ActivePatch &) = delete;

private:
    StringPatchParam m_name;
    ModifiedStatus m_modified;
    PatchSettings m_settings;
    ZonesSettings m_zones;
};

} // namespace Brisel

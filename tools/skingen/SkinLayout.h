#pragma once

#include <QList>
#include <QPoint>
#include <QString>

// Where every editor widget sits. Section keys are positions on the 658 x 497
// panels; element keys are positions inside a composite control, relative to
// its section. The generator writes layouts.xml from this table and paints
// the panels' labels around the same positions, so the two cannot drift.
namespace SkinLayout {

struct Entry {
    QString key;
    QPoint position;
};

constexpr int PanelWidth = 658;
constexpr int PanelHeight = 497;

// Knob groups: 8 per row, 80 pixels apart.
constexpr QPoint ControlsOrigin(7, 33);
constexpr int ControlsPitchX = 80;
constexpr int ControlsPitchY = 91;
constexpr int GroupWidth = 78;
constexpr int KnobGroupHeight = 72;
constexpr int WheelGroupHeight = 100;
constexpr QPoint PitchWheel(7, 212);
constexpr QPoint ModWheel(87, 212);
constexpr QPoint Footswitch(167, 212);

constexpr QPoint VelocityCurves(10, 327);
constexpr int VelocityPitch = 80;

constexpr QPoint ProgramChanges(86, 422);
constexpr int ProgramPitch = 35;
constexpr QPoint ProgramMaster(24, 424);

constexpr QPoint ZonesDisplay(59, 38);
constexpr QPoint Zones(392, 290);
constexpr int ZonePitch = 70;

// Settings rows: label position and the key placed on the same row.
struct SettingRow {
    const char *key;
    const char *label;
    QPoint labelPosition;
    QPoint position;
};

const QList<SettingRow> &settingRows();

// Rows of a zone column (element key, row label, position relative to the column).
struct ZoneRow {
    const char *key;
    const char *label;
    QPoint position;
};

const QList<ZoneRow> &zoneRows();

// Every rectangle of layouts.xml in file order.
QList<Entry> entries();

} // namespace SkinLayout

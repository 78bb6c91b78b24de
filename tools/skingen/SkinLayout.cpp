#include "tools/skingen/SkinLayout.h"

namespace SkinLayout {

const QList<SettingRow> &settingRows()
{
    static const QList<SettingRow> rows = {
        {"SETTINGS_OCTAVE", "OCTAVE", {262, 222}, {322, 221}},
        {"SETTINGS_SEMITONE", "SEMITONE", {262, 242}, {322, 241}},
        {"SETTINGS_ADVANCEDMODE", "ADVANCED", {262, 262}, {366, 261}},
        {"SETTINGS_NOTELATCHMODE", "NOTE LATCH", {396, 222}, {500, 221}},
        {"SETTINGS_NOTELATCHLOWNOTE", "LATCH LOW", {396, 242}, {484, 241}},
        {"SETTINGS_NOTELATCHHIGHNOTE", "LATCH HIGH", {396, 262}, {484, 261}},
        {"SETTINGS_SAVEVALUES", "SAVE VALUES", {530, 222}, {630, 221}},
        {"SETTINGS_LOADVALUES", "LOAD VALUES", {530, 242}, {630, 241}},
        {"SETTINGS_16CHANNELMODECC", "16CH MODE CC", {530, 262}, {614, 261}},
        {"SETTINGS_CHANNELMODECHANNEL", "CH MODE CHAN", {530, 282}, {614, 281}},
    };
    return rows;
}

const QList<ZoneRow> &zoneRows()
{
    static const QList<ZoneRow> rows = {
        {"ZONE_ENABLE", "", {0, 0}},
        {"ZONE_CHANNEL", "MIDI CHANNEL", {5, 18}},
        {"ZONE_LOWNOTE", "LOW NOTE", {5, 33}},
        {"ZONE_HIGHNOTE", "HIGH NOTE", {5, 48}},
        {"ZONE_LOWVELOCITY", "LOW VELOCITY", {5, 63}},
        {"ZONE_HIGHVELOCITY", "HIGH VELOCITY", {5, 78}},
        {"ZONE_TRANSPOSE", "TRANSPOSE", {5, 93}},
        {"ZONE_SENDPITCHWHEEL", "SEND PITCH WHEEL", {15, 108}},
        {"ZONE_SENDMODWHEEL", "SEND MOD WHEEL", {15, 123}},
        {"ZONE_SENDAFTERTOUCH", "SEND AFTERTOUCH", {15, 138}},
        {"ZONE_SENDSUSTAIN", "SEND SUSTAIN", {15, 153}},
        {"ZONE_NOTELATCHMODE", "NOTE LATCH", {15, 168}},
        {"ZONE_POST_ZONE_OCTAVE_TRANSPOSE", "OCTAVE AFTER ZONE", {15, 183}},
    };
    return rows;
}

QList<Entry> entries()
{
    QList<Entry> list;
    const auto add = [&list](const QString &key, QPoint position) { list.append({key, position}); };
    add(QStringLiteral("TOP_PATCHNUMBER"), {77, 12});
    add(QStringLiteral("TOP_PATCHMODIFIED"), {113, 12});
    add(QStringLiteral("TOP_PATCHSTORE"), {135, 12});
    add(QStringLiteral("TOP_PATCHNAME"), {193, 12});
    for (int i = 0; i < 16; ++i)
        add(QStringLiteral("CONTROLS_%1").arg(i + 1),
            ControlsOrigin + QPoint(ControlsPitchX * (i % 8), ControlsPitchY * (i / 8)));
    add(QStringLiteral("CONTROLS_FOOTSWITCH"), Footswitch);
    add(QStringLiteral("CONTROLS_PITCHWHEEL"), PitchWheel);
    add(QStringLiteral("CONTROLS_MODWHEEL"), ModWheel);
    for (const SettingRow &row : settingRows())
        add(QString::fromLatin1(row.key), row.position);
    for (int i = 0; i < 8; ++i)
        add(QStringLiteral("VELOCITYCURVES_%1").arg(i + 1), VelocityCurves + QPoint(VelocityPitch * i, 0));
    add(QStringLiteral("PROGRAMCHANGE_MASTERENABLE"), ProgramMaster);
    for (int i = 0; i < 16; ++i)
        add(QStringLiteral("PROGRAMCHANGE_%1").arg(i + 1), ProgramChanges + QPoint(ProgramPitch * i, 0));
    add(QStringLiteral("PROGRAMCHANGE_ENABLE"), {9, 0});
    add(QStringLiteral("PROGRAMCHANGE_MSB"), {0, 17});
    add(QStringLiteral("PROGRAMCHANGE_LSB"), {0, 34});
    add(QStringLiteral("PROGRAMCHANGE_PROG"), {0, 51});
    add(QStringLiteral("ZONES_MASTERENABLE"), {40, 300});
    add(QStringLiteral("ZONES_PRE_ZONE"), {40, 352});
    add(QStringLiteral("ZONES_POST_ZONE"), {40, 374});
    add(QStringLiteral("ZONES_DISPLAY"), ZonesDisplay);
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("ZONE_%1").arg(i + 1), Zones + QPoint(ZonePitch * i, 0));
    for (const ZoneRow &row : zoneRows())
        add(QString::fromLatin1(row.key), row.position);
    add(QStringLiteral("KNOBCONTROL_NAME"), {3, 3});
    add(QStringLiteral("KNOBCONTROL_CHANNEL"), {50, 19});
    add(QStringLiteral("KNOBCONTROL_CCNUMBER"), {50, 36});
    add(QStringLiteral("KNOBCONTROL_VALUE"), {36, 55});
    add(QStringLiteral("KNOBCONTROL_KNOB"), {11, 22});
    add(QStringLiteral("KNOBCONTROL_MODE"), {2, 56});
    add(QStringLiteral("KNOBCONTROL_MODEBUTTON"), {30, 58});
    add(QStringLiteral("WHEELCONTROL_NAME"), {3, 3});
    add(QStringLiteral("WHEELCONTROL_CHANNEL"), {50, 21});
    add(QStringLiteral("WHEELCONTROL_CCNUMBER"), {50, 39});
    add(QStringLiteral("WHEELCONTROL_VALUE"), {38, 57});
    add(QStringLiteral("WHEELCONTROL_WHEEL"), {15, 21});
    add(QStringLiteral("SPINCONTROL_DECREMENT"), {0, 1});
    add(QStringLiteral("SPINCONTROL_VALUE"), {14, 0});
    add(QStringLiteral("SPINCONTROL_INCREMENT"), {46, 1});
    return list;
}

} // namespace SkinLayout

#include "tools/skingen/Panels.h"

#include "tools/skingen/Artwork.h"
#include "tools/skingen/Controls.h"
#include "tools/skingen/SkinLayout.h"

#include <QPainterPath>
#include <QtMath>

#include <cmath>

using namespace Artwork;
using namespace SkinLayout;

namespace Panels {
namespace {

QImage panel(quint32 seed)
{
    QImage image(PanelWidth, PanelHeight, QImage::Format_RGB32);
    QPainter p(&image);
    brushedPanel(p, image.rect(), Colors::Panel, seed);
    return image;
}

void topStrip(QPainter &p)
{
    label(p, QRectF(20, 12, 53, 17), QStringLiteral("PATCH"), Qt::AlignRight | Qt::AlignVCenter, 9);
    p.setFont(labelFont(17));
    const QRectF logo(440, 5, 208, 20);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(logo.translated(0, 1), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("VORPAD"));
    p.setPen(QColor(232, 234, 238));
    p.drawText(logo, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("VORPAD"));
    label(p, QRectF(400, 22, 248, 9), QStringLiteral("USB MIDI KEYBOARD CONTROLLER"), Qt::AlignRight | Qt::AlignVCenter,
          7, Colors::Accent);
    p.fillRect(QRect(6, 31, PanelWidth - 12, 1), QColor(0, 0, 0, 120));
    p.fillRect(QRect(6, 32, PanelWidth - 12, 1), QColor(255, 255, 255, 24));
}

void knobScale(QPainter &p, QPointF centre)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i <= 10; ++i) {
        const double angle = qDegreesToRadians(240.0 - 30.0 * i);
        const QPointF dot = centre + QPointF(std::cos(angle), -std::sin(angle)) * 15.8;
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 || i == 10 ? Colors::Accent : Colors::LabelDim);
        p.drawEllipse(dot, 1.0, 1.0);
    }
    p.restore();
}

void knobGroup(QPainter &p, QPoint origin, bool withScale)
{
    sectionBox(p, QRectF(origin, QSizeF(GroupWidth, KnobGroupHeight)));
    if (withScale)
        knobScale(p, QPointF(origin) + QPointF(24, 35));
    label(p, QRectF(origin + QPoint(38, 19), QSizeF(12, 14)), QStringLiteral("CH"), Qt::AlignCenter, 7);
    label(p, QRectF(origin + QPoint(38, 36), QSizeF(12, 14)), QStringLiteral("CC"), Qt::AlignCenter, 7);
}

void wheelGroup(QPainter &p, QPoint origin)
{
    sectionBox(p, QRectF(origin, QSizeF(GroupWidth, WheelGroupHeight)));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath slot;
    slot.addRoundedRect(QRectF(origin + QPoint(12, 18), QSizeF(21, 81)), 4, 4);
    p.fillPath(slot, QColor(10, 11, 13));
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.drawPath(slot);
    p.restore();
    label(p, QRectF(origin + QPoint(38, 21), QSizeF(12, 14)), QStringLiteral("CH"), Qt::AlignCenter, 7);
    label(p, QRectF(origin + QPoint(38, 39), QSizeF(12, 14)), QStringLiteral("CC"), Qt::AlignCenter, 7);
}

void settings(QPainter &p)
{
    sectionBox(p, QRectF(252, 212, 398, 100), QStringLiteral("KEYBOARD"));
    for (const SettingRow &row : settingRows()) {
        const QRectF area(row.labelPosition, QSizeF(row.position.x() - row.labelPosition.x() - 4, 14));
        label(p, area, QString::fromLatin1(row.label), Qt::AlignLeft | Qt::AlignVCenter, 8);
        // A dotted leader from the label to its control.
        p.save();
        p.setFont(labelFont(8));
        const qreal start = area.left() + p.fontMetrics().horizontalAdvance(QString::fromLatin1(row.label)) + 4;
        p.setPen(QPen(QColor(255, 255, 255, 40), 1, Qt::DotLine));
        if (area.right() - 2 > start)
            p.drawLine(QPointF(start, area.center().y() + 3), QPointF(area.right() - 2, area.center().y() + 3));
        p.restore();
    }
}

void programChanges(QPainter &p)
{
    sectionBox(p, QRectF(6, 404, 646, 88), QStringLiteral("PROGRAM CHANGE"));
    for (int i = 0; i < 16; ++i) {
        const QPoint column = ProgramChanges + QPoint(ProgramPitch * i, 0);
        label(p, QRectF(column.x(), 410, 32, 11), QString::number(i + 1), Qt::AlignCenter, 8, Colors::LabelDim);
    }
    const char *rows[] = {"ON", "MSB", "LSB", "PROG"};
    for (int r = 0; r < 4; ++r)
        label(p, QRectF(50, ProgramChanges.y() + 17 * r, 32, 14), QString::fromLatin1(rows[r]),
              Qt::AlignRight | Qt::AlignVCenter, 7);
    label(p, QRectF(ProgramMaster.x() - 16, ProgramMaster.y() + 16, 46, 10), QStringLiteral("MASTER"), Qt::AlignCenter,
          7);
}

} // namespace

QImage patchEditor()
{
    QImage image = panel(0x5EED01);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    topStrip(p);
    for (int i = 0; i < 16; ++i)
        knobGroup(p, ControlsOrigin + QPoint(ControlsPitchX * (i % 8), ControlsPitchY * (i / 8)), true);
    wheelGroup(p, PitchWheel);
    wheelGroup(p, ModWheel);
    knobGroup(p, Footswitch, true);
    label(p, QRectF(Footswitch + QPoint(0, KnobGroupHeight + 4), QSizeF(GroupWidth, 10)), QStringLiteral("PEDAL"),
          Qt::AlignCenter, 7, Colors::LabelDim);
    label(p, QRectF(PitchWheel + QPoint(34, 76), QSizeF(42, 10)), QStringLiteral("PITCH"), Qt::AlignCenter, 7,
          Colors::LabelDim);
    label(p, QRectF(ModWheel + QPoint(34, 76), QSizeF(42, 10)), QStringLiteral("MOD"), Qt::AlignCenter, 7,
          Colors::LabelDim);
    settings(p);
    sectionBox(p, QRectF(6, 321, 646, 75), QStringLiteral("VELOCITY CURVE"));
    programChanges(p);
    return image;
}

QImage zonesEditor()
{
    QImage image = panel(0x5EED02);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    topStrip(p);
    sectionBox(p, QRectF(48, 36, 562, 246), QStringLiteral("KEYBOARD ZONES"));
    p.save();
    p.translate(40, 142);
    p.rotate(-90);
    label(p, QRectF(-40, -5, 80, 10), QStringLiteral("VELOCITY"), Qt::AlignCenter, 7, Colors::LabelDim);
    p.restore();
    sectionBox(p, QRectF(6, 292, 236, 198), QStringLiteral("ZONES"));
    label(p, QRectF(60, 352, 178, 14), QStringLiteral("OCTAVE BEFORE ZONES"), Qt::AlignLeft | Qt::AlignVCenter, 8);
    label(p, QRectF(60, 374, 178, 14), QStringLiteral("OCTAVE AFTER ZONES"), Qt::AlignLeft | Qt::AlignVCenter, 8);
    label(p, QRectF(20, 400, 210, 80),
          QStringLiteral("Zones split the keyboard by note and velocity. Each zone plays on its own MIDI channel."),
          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, 8, Colors::LabelDim);
    sectionBox(p, QRectF(246, 286, 406, 206));
    for (const ZoneRow &row : zoneRows()) {
        if (QLatin1String(row.key) == QLatin1String("ZONE_ENABLE"))
            continue;
        label(p, QRectF(252, Zones.y() + row.position.y(), 134, 14), QString::fromLatin1(row.label),
              Qt::AlignRight | Qt::AlignVCenter, 7);
    }
    for (int i = 1; i < 4; ++i)
        p.fillRect(QRect(Zones.x() + ZonePitch * i - 12, Zones.y() + 18, 1, 180), QColor(255, 255, 255, 20));
    return image;
}

QImage about()
{
    QImage image(Sizes::About, QImage::Format_RGB32);
    QPainter p(&image);
    brushedPanel(p, image.rect(), Colors::PanelDark, 0x5EED03);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(labelFont(30));
    p.setPen(QColor(236, 238, 242));
    p.drawText(QRect(0, 14, Sizes::About.width(), 40), Qt::AlignCenter, QStringLiteral("VORPAD"));
    label(p, QRectF(0, 54, Sizes::About.width(), 14), QStringLiteral("EDITOR / LIBRARIAN"), Qt::AlignCenter, 9,
          Colors::Accent);
    p.fillRect(QRect(40, 76, Sizes::About.width() - 80, 1), QColor(255, 255, 255, 40));
    return image;
}

} // namespace Panels

#include "tools/skingen/Controls.h"

#include "tools/skingen/Artwork.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

using namespace Artwork;

namespace Controls {
namespace {

constexpr int KnobFrame = 26;
constexpr int KnobFrames = 65; // 64 used; 1690 / 64 rounds down to 26
constexpr int WheelWidth = 15;
constexpr int WheelHeight = 75;
constexpr int WheelFrames = 66;

// Cell states of the 2 x 3 toggle composites (order "0,3,2,4,3,5").
enum Cell { Normal = 0, Spare = 1, Disabled = 2, Pressed = 3, On = 4, DisabledOn = 5 };

QPoint cellOrigin(int cell, QSize cellSize)
{
    return QPoint((cell % 3) * cellSize.width(), (cell / 3) * cellSize.height());
}

void drawKnob(QPainter &p, QPointF centre, double fraction)
{
    const double outer = 12.3;
    // Knurled skirt.
    QConicalGradient skirt(centre, 90);
    for (int i = 0; i <= 24; ++i)
        skirt.setColorAt(i / 24.0, i % 2 ? QColor(58, 60, 66) : QColor(34, 36, 40));
    p.setPen(QPen(QColor(12, 12, 14), 1));
    p.setBrush(skirt);
    p.drawEllipse(centre, outer, outer);
    // Cap with a soft top light.
    QRadialGradient cap(centre + QPointF(-3, -4), 12);
    cap.setColorAt(0, QColor(120, 124, 132));
    cap.setColorAt(0.6, QColor(68, 71, 78));
    cap.setColorAt(1, QColor(40, 42, 47));
    p.setPen(QPen(QColor(20, 21, 24), 0.8));
    p.setBrush(cap);
    p.drawEllipse(centre, 9.2, 9.2);
    // Pointer: 240 degrees at the minimum, turning clockwise over 300 degrees.
    const double angle = qDegreesToRadians(240.0 - 300.0 * fraction);
    const QPointF direction(std::cos(angle), -std::sin(angle));
    p.setPen(QPen(QColor(255, 255, 255, 235), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + direction * 3.5, centre + direction * 8.6);
    p.setPen(QPen(Colors::Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(centre + direction * 11.0);
}

void drawCheckCell(QPainter &p, QPointF centre, Cell cell)
{
    const bool lit = cell == On || cell == DisabledOn;
    const bool dim = cell == Disabled || cell == DisabledOn;
    const bool pressed = cell == Pressed;
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(QColor(24, 25, 28));
    p.drawEllipse(centre, 6.4, 6.4);
    QRadialGradient dome(centre + QPointF(-1.5, -2), 6);
    if (lit) {
        const QColor hot = dim ? Colors::AccentDim : Colors::Accent;
        dome.setColorAt(0, dim ? hot : QColor(255, 220, 160));
        dome.setColorAt(0.5, hot);
        dome.setColorAt(1, hot.darker(170));
    } else {
        const int base = dim ? 46 : (pressed ? 58 : 84);
        dome.setColorAt(0, QColor(base + 50, base + 52, base + 58));
        dome.setColorAt(1, QColor(base - 30, base - 29, base - 26));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(dome);
    p.drawEllipse(centre + (pressed ? QPointF(0.3, 0.5) : QPointF()), 5.0, 5.0);
}

QPainterPath roundedBox(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// A flat rounded key with a label, the look of the store and zone buttons.
void drawKey(QPainter &p, const QRectF &rect, const QString &text, const QColor &fill, const QColor &textColor,
             qreal pixelSize)
{
    const QPainterPath path = roundedBox(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, fill.lighter(135));
    gradient.setColorAt(1, fill.darker(125));
    p.fillPath(path, gradient);
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(rect.topLeft() + QPointF(3, 1.5), rect.topRight() + QPointF(-3, 1.5));
    p.setFont(labelFont(pixelSize));
    p.setPen(textColor);
    p.drawText(rect, Qt::AlignCenter, text);
}

double curveValue(int curve, double x)
{
    switch (curve) {
    case 0:
        return x;
    case 1:
        return std::pow(x, 0.6);
    case 2:
        return std::pow(x, 0.35);
    case 3:
        return std::pow(x, 1.7);
    case 4:
        return std::pow(x, 2.8);
    case 5:
        return x < 0.5 ? 2 * x * x : 1 - 2 * (1 - x) * (1 - x);
    case 6:
        return 0.5;
    default:
        return 1.0;
    }
}

void drawCurveCell(QPainter &p, const QRectF &cell, int curve, Cell state)
{
    const bool lit = state == On || state == DisabledOn;
    const bool dim = state == Disabled || state == DisabledOn;
    const QRectF body = cell.adjusted(2, 2, -2, -2);
    const QPainterPath path = roundedBox(body, 5);
    p.fillPath(path, state == Pressed ? QColor(16, 18, 21) : QColor(22, 25, 29));
    p.setPen(QPen(lit ? (dim ? Colors::AccentDim : Colors::Accent) : QColor(74, 79, 87), lit ? 1.6 : 1));
    p.drawPath(path);
    const QRectF plot = body.adjusted(8, 8, -8, -15);
    p.setPen(QPen(QColor(255, 255, 255, dim ? 14 : 26), 1));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(plot.left() + plot.width() * i / 4, plot.top()),
                   QPointF(plot.left() + plot.width() * i / 4, plot.bottom()));
        p.drawLine(QPointF(plot.left(), plot.top() + plot.height() * i / 4),
                   QPointF(plot.right(), plot.top() + plot.height() * i / 4));
    }
    QPainterPath graph;
    for (int i = 0; i <= 48; ++i) {
        const double x = i / 48.0;
        const QPointF point(plot.left() + x * plot.width(), plot.bottom() - curveValue(curve, x) * plot.height());
        if (i == 0)
            graph.moveTo(point);
        else
            graph.lineTo(point);
    }
    QColor line = lit ? Colors::Accent : QColor(170, 176, 184);
    if (dim)
        line = line.darker(220);
    p.setPen(QPen(line, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(graph);
    p.setFont(labelFont(8));
    p.setPen(dim ? Colors::LabelDim.darker(150) : (lit ? Colors::Accent : Colors::Label));
    p.drawText(QRectF(body.left(), body.bottom() - 13, body.width(), 11), Qt::AlignCenter,
               QStringLiteral("CURVE %1").arg(curve + 1));
}

} // namespace

QColor zoneColor(int zone)
{
    static const QColor colors[] = {QColor(2, 61, 254), QColor(43, 255, 1), QColor(254, 192, 1), QColor(252, 1, 1)};
    return colors[std::clamp(zone, 0, 3)];
}

QImage knobStrip()
{
    return onBlack(QSize(KnobFrame * KnobFrames, KnobFrame), [](QPainter &p) {
        for (int frame = 0; frame < KnobFrames; ++frame) {
            const double fraction = std::min(1.0, frame / 63.0);
            drawKnob(p, QPointF(frame * KnobFrame + KnobFrame / 2.0, KnobFrame / 2.0), fraction);
        }
    });
}

QImage wheelStrip()
{
    return onBlack(QSize(WheelWidth * WheelFrames, WheelHeight), [](QPainter &p) {
        for (int frame = 0; frame < WheelFrames; ++frame) {
            const double fraction = std::min(1.0, frame / 63.0);
            const QRectF body(frame * WheelWidth + 1, 0.5, WheelWidth - 2, WheelHeight - 1);
            const QPainterPath path = roundedBox(body, 4);
            QLinearGradient across(body.topLeft(), body.topRight());
            across.setColorAt(0, QColor(28, 29, 33));
            across.setColorAt(0.45, QColor(92, 96, 104));
            across.setColorAt(1, QColor(24, 25, 28));
            p.fillPath(path, across);
            p.save();
            p.setClipPath(path);
            // Ridges roll downwards as the value rises (the top is the maximum).
            const double offset = fraction * 40.0;
            for (double y = -8 + std::fmod(offset, 5.0); y < WheelHeight + 5; y += 5) {
                const double depth = std::sin((y / WheelHeight) * M_PI);
                p.setPen(QPen(QColor(0, 0, 0, int(40 + 80 * depth)), 1));
                p.drawLine(QPointF(body.left(), y), QPointF(body.right(), y));
                p.setPen(QPen(QColor(255, 255, 255, int(10 + 30 * depth)), 1));
                p.drawLine(QPointF(body.left(), y + 1), QPointF(body.right(), y + 1));
            }
            const double markY = body.bottom() - 6 - fraction * (body.height() - 12);
            p.fillRect(QRectF(body.left(), markY - 1.5, body.width(), 3), Colors::Accent);
            QLinearGradient shade(body.topLeft(), body.bottomLeft());
            shade.setColorAt(0, QColor(0, 0, 0, 150));
            shade.setColorAt(0.25, QColor(0, 0, 0, 0));
            shade.setColorAt(0.75, QColor(0, 0, 0, 0));
            shade.setColorAt(1, QColor(0, 0, 0, 150));
            p.fillRect(body, shade);
            p.restore();
            p.setPen(QPen(QColor(10, 10, 12), 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
    });
}

QImage checkButton()
{
    const QSize cell(14, 14);
    return onBlack(QSize(42, 28), [&](QPainter &p) {
        for (int c = Normal; c <= DisabledOn; ++c)
            drawCheckCell(p, QPointF(cellOrigin(c, cell)) + QPointF(7, 7), Cell(c == Spare ? Normal : c));
    });
}

QImage spinButton(bool increment)
{
    const QSize cell(12, 12);
    return onBlack(QSize(36, 24), [&](QPainter &p) {
        for (int c = Normal; c <= DisabledOn; ++c) {
            const Cell state = Cell(c == Spare ? Normal : c);
            const QPointF centre = QPointF(cellOrigin(c, cell)) + QPointF(6, 6);
            const bool pressed = state == Pressed;
            const bool dim = state == Disabled || state == DisabledOn;
            QRadialGradient face(centre + QPointF(-1, -1.5), 6);
            face.setColorAt(0, pressed ? QColor(60, 62, 68) : QColor(118, 122, 130));
            face.setColorAt(1, pressed ? QColor(30, 31, 35) : QColor(46, 48, 53));
            p.setPen(QPen(QColor(10, 10, 12), 1));
            p.setBrush(face);
            p.drawEllipse(centre, 5.4, 5.4);
            p.setPen(QPen(dim ? QColor(34, 36, 40) : QColor(235, 238, 242), 1.5, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(centre + QPointF(-2.6, 0), centre + QPointF(2.6, 0));
            if (increment)
                p.drawLine(centre + QPointF(0, -2.6), centre + QPointF(0, 2.6));
        }
    });
}

QImage velocityCurveButton(int curve)
{
    const QSize cell(80, 66);
    return onBlack(QSize(240, 132), [&](QPainter &p) {
        for (int c = Normal; c <= DisabledOn; ++c)
            drawCurveCell(p, QRectF(QPointF(cellOrigin(c, cell)), QSizeF(cell)), curve, Cell(c == Spare ? Normal : c));
    });
}

QImage storeButton(bool active)
{
    return onBlack(QSize(50, 17), [&](QPainter &p) {
        drawKey(p, QRectF(0, 0, 50, 17), QStringLiteral("STORE"), active ? QColor(86, 90, 98) : QColor(48, 50, 55),
                active ? QColor(255, 196, 140) : QColor(110, 114, 120), 9);
    });
}

QImage led(const QColor &color, bool lit)
{
    return onBlack(QSize(16, 16), [&](QPainter &p) {
        const QPointF centre(8, 8);
        p.setPen(QPen(QColor(12, 12, 14), 1));
        p.setBrush(QColor(40, 42, 46));
        p.drawEllipse(centre, 7.2, 7.2);
        QRadialGradient lens(centre + QPointF(-1.6, -2), 6.5);
        if (lit) {
            lens.setColorAt(0, color.lighter(180));
            lens.setColorAt(0.45, color);
            lens.setColorAt(1, color.darker(200));
        } else {
            lens.setColorAt(0, color.darker(260));
            lens.setColorAt(1, color.darker(500));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(lens);
        p.drawEllipse(centre, 5.4, 5.4);
        p.setBrush(QColor(255, 255, 255, lit ? 150 : 50));
        p.drawEllipse(centre + QPointF(-1.8, -2.0), 1.4, 1.1);
    });
}

QImage controllerMode()
{
    // Six pixels wide so that the value field beside it holds five digits.
    return onBlack(QSize(6, 8), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 232, 236));
        p.drawPolygon(QPolygonF({QPointF(0, 2), QPointF(6, 2), QPointF(3, 7)}));
    });
}

QImage zoneButton(int zone, bool on)
{
    return onBlack(QSize(45, 15), [&](QPainter &p) {
        const QColor fill = on ? zoneColor(zone).darker(115) : QColor(62, 65, 71);
        const QColor text = on ? (zone == 0 || zone == 3 ? QColor(255, 255, 255) : QColor(16, 16, 18)) : Colors::Label;
        drawKey(p, QRectF(0, 0, 45, 15), QStringLiteral("ZONE %1").arg(zone + 1), fill, text, 8);
    });
}

QImage zonesEnableButton(bool on)
{
    return onBlack(QSize(85, 24), [&](QPainter &p) {
        drawKey(p, QRectF(0, 0, 85, 24), QString(), QColor(62, 65, 71), Colors::Label, 9);
        const QPointF ledCentre(13, 12);
        QRadialGradient lens(ledCentre + QPointF(-1, -1.5), 4.5);
        lens.setColorAt(0, on ? QColor(255, 220, 160) : QColor(70, 48, 30));
        lens.setColorAt(1, on ? Colors::Accent.darker(130) : QColor(36, 26, 18));
        p.setPen(QPen(QColor(12, 12, 14), 1));
        p.setBrush(lens);
        p.drawEllipse(ledCentre, 4.2, 4.2);
        p.setFont(labelFont(9));
        p.setPen(on ? QColor(255, 214, 170) : Colors::Label);
        p.drawText(QRectF(22, 0, 60, 24), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ZONES ON"));
    });
}

QImage modeImage(const QString &text, const QColor &color)
{
    return onBlack(Sizes::ModeImage, [&](QPainter &p) {
        const QRectF body(0.5, 0.5, Sizes::ModeImage.width() - 1, Sizes::ModeImage.height() - 1);
        p.fillPath(roundedBox(body, 2.5), color.darker(260));
        p.setPen(QPen(color, 1));
        p.drawPath(roundedBox(body, 2.5));
        p.setFont(labelFont(8));
        p.setPen(color.lighter(130));
        p.drawText(body, Qt::AlignCenter, text);
    });
}

QImage keyScale()
{
    const QSize size = Sizes::KeyScale;
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(36, 38, 42));
    QPainter p(&image);
    const int noteWidth = size.width() / 128;
    const int keyHeight = 25;
    static const bool black[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
    p.fillRect(QRect(0, 0, size.width(), keyHeight), QColor(236, 236, 232));
    // Boundaries between white keys: at a note edge between two white keys,
    // otherwise under the middle of the black key between them.
    p.setPen(QColor(120, 120, 118));
    for (int note = 1; note < 128; ++note) {
        const bool here = black[note % 12];
        const bool before = black[(note + 11) % 12];
        if (!here && !before)
            p.drawLine(note * noteWidth, 0, note * noteWidth, keyHeight - 1);
        else if (here)
            p.drawLine(note * noteWidth + noteWidth / 2, 0, note * noteWidth + noteWidth / 2, keyHeight - 1);
    }
    for (int note = 0; note < 128; ++note) {
        if (black[note % 12])
            p.fillRect(QRect(note * noteWidth - 1, 0, noteWidth + 2, 15), QColor(22, 22, 24));
    }
    p.setFont(labelFont(8));
    p.setPen(Colors::Label);
    for (int octave = 0; octave <= 10; ++octave) {
        const int x = octave * 12 * noteWidth;
        p.fillRect(QRect(x, keyHeight, 1, 3), Colors::Label);
        if (octave % 2 == 0 || octave == 10) {
            // Starting at its tick, but never past either edge of the scale.
            const QString text = QStringLiteral("C%1").arg(octave - 1);
            const int width = p.fontMetrics().horizontalAdvance(text);
            const int left = std::clamp(x - 2, 1, size.width() - width - 1);
            p.drawText(QRect(left, keyHeight + 1, width, 10), Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
    return image;
}

QImage velocityScale()
{
    const QSize size = Sizes::VelocityScale;
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(36, 38, 42));
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(labelFont(7));
    for (int v = 0; v <= 128; v += 16) {
        const int y = std::min(size.height() - 1, size.height() - 1 - v * size.height() / 128);
        p.fillRect(QRect(size.width() - 5, y, 5, 1), Colors::Label);
        if (v % 32 == 0) {
            const int shown = std::min(v, 127);
            p.setPen(Colors::Label);
            p.drawText(QRect(0, std::clamp(y - 5, 0, size.height() - 10), size.width() - 6, 10),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(shown));
        }
    }
    for (int v = 8; v < 128; v += 16) {
        const int y = size.height() - 1 - v * size.height() / 128;
        p.fillRect(QRect(size.width() - 3, y, 3, 1), Colors::LabelDim);
    }
    return image;
}

QImage appIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn in 64 units, so every size is painted afresh rather than scaled from another.
    p.scale(size / 64.0, size / 64.0);
    p.fillPath(roundedBox(QRectF(2, 2, 60, 60), 12), QColor(38, 40, 45));
    p.setPen(QPen(QColor(90, 94, 102), 2));
    p.drawPath(roundedBox(QRectF(2, 2, 60, 60), 12));
    // A knob over three piano keys.
    p.save();
    p.translate(-1, -8);
    p.scale(1.4, 1.4);
    drawKnob(p, QPointF(23.5, 23.5), 0.72);
    p.restore();
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(12 + i * 10, 42, 9, 14), QColor(236, 236, 232));
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(18.5 + i * 10, 42, 5, 8), QColor(20, 20, 22));
    return image;
}

QImage arrow(bool up)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 42, 46), 1));
    p.setBrush(QColor(70, 130, 220));
    const QPolygonF shape = up ? QPolygonF({QPointF(8, 2), QPointF(14, 9), QPointF(10.5, 9), QPointF(10.5, 14),
                                            QPointF(5.5, 14), QPointF(5.5, 9), QPointF(2, 9)})
                               : QPolygonF({QPointF(8, 14), QPointF(14, 7), QPointF(10.5, 7), QPointF(10.5, 2),
                                            QPointF(5.5, 2), QPointF(5.5, 7), QPointF(2, 7)});
    p.drawPolygon(shape);
    return image;
}

} // namespace Controls

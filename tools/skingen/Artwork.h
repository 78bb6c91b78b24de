#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>

// Shared look of the generated skin: colours, fonts and the small drawing
// helpers every bitmap is made of.
namespace Artwork {

namespace Colors {
inline const QColor Panel(44, 46, 51);
inline const QColor PanelDark(30, 32, 36);
inline const QColor Frame(70, 74, 81);
inline const QColor Label(196, 201, 208);
inline const QColor LabelDim(128, 133, 140);
inline const QColor Accent(255, 138, 30);
inline const QColor AccentDim(120, 70, 28);
inline const QColor Field(18, 21, 25);
inline const QColor FieldEdge(82, 88, 96);
} // namespace Colors

// Field sizes the editor's line edits and labels take from their images.
namespace Sizes {
constexpr QSize PatchIndex(30, 17);
constexpr QSize PatchName(140, 17);
constexpr QSize ControllerName(72, 14);
constexpr QSize ControllerValue(26, 14);
constexpr QSize ControllerValue2(40, 14);
constexpr QSize SettingValue(30, 14);
constexpr QSize Channel(32, 14);
constexpr QSize ModeImage(28, 12);
constexpr QSize KeyScale(512, 36);
constexpr QSize VelocityScale(24, 200);
constexpr QSize About(400, 260);
} // namespace Sizes

QFont labelFont(qreal pixelSize, bool bold = true);

// An image of the size, filled with pure black (the transparent colour).
QImage blank(QSize size);
// Draws shape antialiased on transparent ground and lays it over black; no
// pixel of the shape itself ends up pure black, so only the ground turns
// transparent when the skin masks black out.
QImage onBlack(QSize size, const std::function<void(QPainter &)> &shape);

// The dark brushed-metal panel texture.
void brushedPanel(QPainter &painter, const QRect &rect, const QColor &base, quint32 seed);
// A recessed section box.
void sectionBox(QPainter &painter, const QRectF &rect, const QString &title = QString());
void label(QPainter &painter, const QRectF &rect, const QString &text, int flags = Qt::AlignLeft | Qt::AlignVCenter,
           qreal pixelSize = 8, const QColor &color = Colors::Label);
// The recessed display field behind the editor's text fields.
QImage field(QSize size, const QColor &body = Colors::Field, const QColor &edge = Colors::FieldEdge);

enum class Depth { Bits24, Bits32 };
// Writes a PNG or a Windows bitmap (24 bits per pixel unless asked for 32).
bool save(const QImage &image, const QString &directory, const QString &name, Depth depth = Depth::Bits24);

} // namespace Artwork

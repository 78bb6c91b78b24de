#pragma once

#include <QBrush>
#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <array>

class QPainter;
class QPalette;

// Flat, shaded-frame drawing shared by the styles. Every function does
// nothing for a null painter or an empty rectangle; invalid geometry writes a
// warning naming the function and draws nothing.
namespace CZelPaintUtilities {

void drawShadeLine(QPainter *painter, const QPoint &p1, const QPoint &p2, const QPalette &palette, bool sunken = true,
                   int lineWidth = 1, int midLineWidth = 0);
void drawPlainRect(QPainter *painter, const QRect &rect, const QColor &color, int lineWidth = 1,
                   const QBrush *fill = nullptr);
void drawShadeRect(QPainter *painter, const QRect &rect, const QPalette &palette, bool sunken = false,
                   int lineWidth = 1, int midLineWidth = 0, const QBrush *fill = nullptr);
void drawShadePanel(QPainter *painter, const QRect &rect, const QPalette &palette, bool sunken = false,
                    int lineWidth = 1, const QBrush *fill = nullptr);
void drawTickmarks(QPainter *painter, const QRect &rect, const QColor &color, bool horizontal, int minimum, int maximum,
                   int interval, const QBrush *fill = nullptr);
void drawCapsule(QPainter *painter, const QRect &rect, const QBrush &brush);

// Bitmap compositions of the render descriptions. A target smaller than the
// caps (or corners) gets a one-pixel black outline instead; a missing bitmap
// draws nothing.
void drawThreePiece(QPainter *painter, const QRect &target, const QPixmap &capStart, const QPixmap &capEnd,
                    const QPixmap &stretch, Qt::Orientation orientation);
// pieces: topLeft, topRight, bottomLeft, bottomRight, leftStretch, topStretch,
// rightStretch, bottomStretch. The center is left unpainted.
void drawNinePiece(QPainter *painter, const QRect &target, const std::array<QPixmap, 8> &pieces);

} // namespace CZelPaintUtilities

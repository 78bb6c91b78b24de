#include "editor/skin/CZelPaintUtilities.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <qdrawutil.h>

#include <algorithm>
#include <limits>

namespace CZelPaintUtilities {
namespace {

bool usable(QPainter *painter, const QRect &rect) { return painter && !rect.isEmpty(); }

// A rectangle whose width or height does not fit an int is unusable.
bool overflows(const QRect &rect)
{
    const qint64 width = qint64(rect.right()) - rect.left() + 1;
    const qint64 height = qint64(rect.bottom()) - rect.top() + 1;
    return width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max();
}

bool invalid(const char *function, bool condition)
{
    if (condition)
        qWarning("CZelPaintUtilities::%s(): invalid parameters", function);
    return condition;
}

} // namespace

void drawShadeLine(QPainter *painter, const QPoint &p1, const QPoint &p2, const QPalette &palette, bool sunken,
                   int lineWidth, int midLineWidth)
{
    if (!painter || (p1.x() != p2.x() && p1.y() != p2.y()))
        return;
    if (invalid("drawShadeLine", lineWidth < 0 || midLineWidth < 0))
        return;
    qDrawShadeLine(painter, p1, p2, palette, sunken, lineWidth, midLineWidth);
}

void drawPlainRect(QPainter *painter, const QRect &rect, const QColor &color, int lineWidth, const QBrush *fill)
{
    if (!usable(painter, rect) || invalid("drawPlainRect", lineWidth < 0 || overflows(rect)))
        return;
    qDrawPlainRect(painter, rect, color, lineWidth, fill);
}

void drawShadeRect(QPainter *painter, const QRect &rect, const QPalette &palette, bool sunken, int lineWidth,
                   int midLineWidth, const QBrush *fill)
{
    if (!usable(painter, rect) || invalid("drawShadeRect", lineWidth < 0 || midLineWidth < 0 || overflows(rect)))
        return;
    qDrawShadeRect(painter, rect, palette, sunken, lineWidth, midLineWidth, fill);
}

void drawShadePanel(QPainter *painter, const QRect &rect, const QPalette &palette, bool sunken, int lineWidth,
                    const QBrush *fill)
{
    if (!usable(painter, rect) || invalid("drawShadePanel", lineWidth < 0 || overflows(rect)))
        return;
    qDrawShadePanel(painter, rect, palette, sunken, lineWidth, fill);
}

void drawTickmarks(QPainter *painter, const QRect &rect, const QColor &color, bool horizontal, int minimum, int maximum,
                   int interval, const QBrush *fill)
{
    if (!usable(painter, rect) || invalid("drawTickmarks", interval < 0 || overflows(rect)))
        return;
    painter->save();
    if (fill) {
        painter->setPen(Qt::NoPen);
        painter->fillRect(rect, *fill);
    }
    painter->setPen(color);
    const int length = horizontal ? rect.width() : rect.height();
    const int top = QStyle::sliderPositionFromValue(minimum, maximum + 1, minimum, length);
    const int step = QStyle::sliderPositionFromValue(minimum, maximum + 1, minimum + interval, length);
    // Ticks closer than three pixels would merge into a bar.
    if (interval > 0 && step - top > 2) {
        // Lines run across the whole rectangle, wherever it starts.
        for (qint64 v = minimum; v <= qint64(maximum) + 1; v += interval) {
            const int t = QStyle::sliderPositionFromValue(minimum, maximum + 1, int(v), length);
            if (horizontal)
                painter->drawLine(rect.left() + t, rect.top(), rect.left() + t, rect.bottom());
            else
                painter->drawLine(rect.left(), rect.top() + t, rect.right(), rect.top() + t);
        }
    }
    painter->restore();
}

void drawCapsule(QPainter *painter, const QRect &rect, const QBrush &brush)
{
    if (!usable(painter, rect))
        return;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const QRectF r(rect);
    if (r.width() >= r.height()) {
        const qreal d = r.height();
        path.addRect(r.x() + d / 2, r.y(), r.width() - d, d);
        path.addEllipse(r.x(), r.y(), d, d);
        path.addEllipse(r.right() + 1 - d, r.y(), d, d);
    } else {
        const qreal d = r.width();
        path.addRect(r.x(), r.y() + d / 2, d, r.height() - d);
        path.addEllipse(r.x(), r.y(), d, d);
        path.addEllipse(r.x(), r.bottom() + 1 - d, d, d);
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush);
    painter->drawPath(path);
    painter->restore();
}

void drawThreePiece(QPainter *painter, const QRect &target, const QPixmap &capStart, const QPixmap &capEnd,
                    const QPixmap &stretch, Qt::Orientation orientation)
{
    if (!usable(painter, target) || capStart.isNull() || capEnd.isNull() || stretch.isNull())
        return;
    if (orientation == Qt::Horizontal) {
        if (target.width() < capStart.width() + capEnd.width() ||
            target.height() < std::max(capStart.height(), capEnd.height())) {
            drawPlainRect(painter, target, Qt::black, 1);
            return;
        }
        painter->drawPixmap(target.topLeft(), capStart);
        painter->drawPixmap(target.right() - capEnd.width() + 1, target.top(), capEnd);
        const QRect middle(target.left() + capStart.width(), target.top(),
                           target.width() - capStart.width() - capEnd.width(), capStart.height());
        if (!middle.isEmpty())
            painter->drawTiledPixmap(middle, stretch);
        return;
    }
    if (target.height() < capStart.height() + capEnd.height() ||
        target.width() < std::max(capStart.width(), capEnd.width())) {
        drawPlainRect(painter, target, Qt::black, 1);
        return;
    }
    painter->drawPixmap(target.topLeft(), capStart);
    painter->drawPixmap(target.left(), target.bottom() - capEnd.height() + 1, capEnd);
    const QRect middle(target.left(), target.top() + capStart.height(), capStart.width(),
                       target.height() - capStart.height() - capEnd.height());
    if (!middle.isEmpty())
        painter->drawTiledPixmap(middle, stretch);
}

void drawNinePiece(QPainter *painter, const QRect &target, const std::array<QPixmap, 8> &pieces)
{
    if (!usable(painter, target))
        return;
    for (const QPixmap &piece : pieces) {
        if (piece.isNull())
            return;
    }
    const auto &[topLeft, topRight, bottomLeft, bottomRight, left, top, right, bottom] = pieces;
    const int minWidth = std::max(topLeft.width() + topRight.width(), bottomLeft.width() + bottomRight.width());
    const int minHeight = std::max(topLeft.height() + bottomLeft.height(), topRight.height() + bottomRight.height());
    if (target.width() < minWidth || target.height() < minHeight) {
        drawPlainRect(painter, target, Qt::black, 1);
        return;
    }
    const int l = target.left();
    const int t = target.top();
    const int r = target.right() + 1;
    const int b = target.bottom() + 1;
    painter->drawPixmap(l, t, topLeft);
    painter->drawPixmap(r - topRight.width(), t, topRight);
    painter->drawPixmap(l, b - bottomLeft.height(), bottomLeft);
    painter->drawPixmap(r - bottomRight.width(), b - bottomRight.height(), bottomRight);
    const auto tile = [painter](const QRect &strip, const QPixmap &pixmap) {
        if (!strip.isEmpty())
            painter->drawTiledPixmap(strip, pixmap);
    };
    tile(QRect(l, t + topLeft.height(), left.width(), b - bottomLeft.height() - t - topLeft.height()), left);
    tile(QRect(l + topLeft.width(), t, r - topRight.width() - l - topLeft.width(), topLeft.height()), top);
    tile(QRect(r - right.width(), t + topRight.height(), right.width(),
               b - bottomRight.height() - t - topRight.height()),
         right);
    tile(QRect(l + bottomLeft.width(), b - bottomLeft.height(), r - bottomRight.width() - l - bottomLeft.width(),
               bottomLeft.height()),
         bottom);
}

} // namespace CZelPaintUtilities

// CZelCommonStyle: primitive elements (frames, panels, indicators).
#include "editor/skin/CZelCommonStyle.h"

#include "editor/skin/CZelPaintUtilities.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

using namespace CZelPaintUtilities;

namespace {

bool sunkenState(const QStyleOption *option) { return option->state & (QStyle::State_Sunken | QStyle::State_On); }

void drawArrow(QPainter *painter, const QRect &rect, qreal angle, const QColor &color)
{
    const int size = std::min(rect.width(), rect.height());
    if (size < 3)
        return;
    const qreal half = size / 3.0;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(QRectF(rect).center());
    painter->rotate(angle);
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawPolygon(QPolygonF({QPointF(-half, half / 2), QPointF(half, half / 2), QPointF(0, -half / 2)}));
    painter->restore();
}

void drawCheckMark(QPainter *painter, const QRect &rect, const QColor &color)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(color, std::max(1.5, rect.width() / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF r = QRectF(rect).adjusted(2.5, 2.5, -2.5, -2.5);
    painter->drawPolyline(QPolygonF({QPointF(r.left(), r.center().y()), QPointF(r.left() + r.width() * 0.4, r.bottom()),
                                     QPointF(r.right(), r.top())}));
    painter->restore();
}

// The dotted focus rectangle, in the inverse of the background so that it
// shows on any ground.
void drawFocusRect(const QStyleOption *option, QPainter *painter)
{
    if (!(option->state & QStyle::State_KeyboardFocusChange))
        return;
    const auto *focus = qstyleoption_cast<const QStyleOptionFocusRect *>(option);
    QColor background =
        focus && focus->backgroundColor.isValid() ? focus->backgroundColor : painter->background().color();
    const QColor inverse(255 - background.red(), 255 - background.green(), 255 - background.blue());
    const QRect r = option->rect;
    if (r.isEmpty())
        return;
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrushOrigin(r.topLeft());
    const QBrush brush(inverse, Qt::Dense4Pattern);
    painter->fillRect(QRect(r.left(), r.top(), r.width(), 1), brush);
    painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), brush);
    painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), brush);
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), brush);
    painter->restore();
}

// Arrows point up at angle 0 and turn clockwise.
qreal arrowAngle(QStyle::PrimitiveElement element)
{
    switch (element) {
    case QStyle::PE_IndicatorArrowDown:
    case QStyle::PE_IndicatorSpinDown:
        return 180;
    case QStyle::PE_IndicatorArrowLeft:
        return 270;
    case QStyle::PE_IndicatorArrowRight:
        return 90;
    default:
        return 0;
    }
}

QColor indicatorColor(const QStyleOption *option)
{
    const bool enabled = option->state & QStyle::State_Enabled;
    return option->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
}

void drawMinusSign(const QStyleOption *option, QPainter *painter)
{
    const QRect &r = option->rect;
    painter->fillRect(QRect(r.center().x() - r.width() / 4, r.center().y(), r.width() / 2, 1), indicatorColor(option));
}

void drawPlusSign(const QStyleOption *option, QPainter *painter)
{
    const QRect &r = option->rect;
    drawMinusSign(option, painter);
    painter->fillRect(QRect(r.center().x(), r.center().y() - r.height() / 4, 1, r.height() / 2),
                      indicatorColor(option));
}

void drawHeaderArrow(const QStyleOption *option, QPainter *painter)
{
    const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
    if (header && header->sortIndicator != QStyleOptionHeader::None)
        drawArrow(painter, option->rect, header->sortIndicator == QStyleOptionHeader::SortUp ? 0 : 180,
                  indicatorColor(option));
}

void drawBranch(const QStyleOption *option, QPainter *painter)
{
    if (option->state & QStyle::State_Children)
        drawArrow(painter, option->rect, option->state & QStyle::State_Open ? 180 : 90, indicatorColor(option));
}

void drawIndicatorPanel(const QStyleOption *option, QPainter *painter)
{
    const QBrush fill = option->palette.brush(QPalette::Button);
    drawShadePanel(painter, option->rect, option->palette, sunkenState(option), 1, &fill);
}

void drawCheckBoxIndicator(const QStyleOption *option, QPainter *painter)
{
    const QPalette &pal = option->palette;
    const QRect &r = option->rect;
    const QBrush fill = pal.brush(option->state & QStyle::State_Enabled ? QPalette::Base : QPalette::Window);
    drawShadePanel(painter, r, pal, true, 2, &fill);
    const QColor mark = pal.color(QPalette::Text);
    if (option->state & QStyle::State_On)
        drawCheckMark(painter, r, mark);
    else if (option->state & QStyle::State_NoChange)
        painter->fillRect(r.adjusted(4, r.height() / 2 - 1, -4, -(r.height() / 2 - 1)), mark);
}

void drawMenuCheckMark(const QStyleOption *option, QPainter *painter)
{
    if (option->state & QStyle::State_On)
        drawCheckMark(
            painter, option->rect,
            option->palette.color(option->state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
}

void drawRadioIndicator(const QStyleOption *option, QPainter *painter)
{
    const QPalette &pal = option->palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->setPen(QPen(pal.color(QPalette::Dark), 1));
    painter->setBrush(pal.brush(option->state & QStyle::State_Enabled ? QPalette::Base : QPalette::Window));
    painter->drawEllipse(circle);
    painter->setPen(QPen(pal.color(QPalette::Light), 1));
    painter->drawArc(circle, -45 * 16, 180 * 16);
    if (option->state & QStyle::State_On) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(pal.color(QPalette::Text));
        painter->drawEllipse(circle.adjusted(3, 3, -3, -3));
    }
    painter->restore();
}

} // namespace

void CZelCommonStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    if (!option || !painter)
        return;
    switch (element) {
    case PE_Frame:
    case PE_FrameDefaultButton:
    case PE_FrameDockWidget:
    case PE_FrameFocusRect:
    case PE_FrameGroupBox:
    case PE_FrameLineEdit:
    case PE_FrameMenu:
    case PE_FrameStatusBarItem:
    case PE_FrameTabWidget:
    case PE_FrameWindow:
    case PE_FrameButtonBevel:
    case PE_FrameButtonTool:
    case PE_FrameTabBarBase:
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
    case PE_PanelButtonTool:
    case PE_PanelMenuBar:
    case PE_PanelToolBar:
    case PE_PanelLineEdit:
        drawFramePrimitive(element, option, painter, widget);
        return;
    case PE_IndicatorArrowDown:
    case PE_IndicatorArrowLeft:
    case PE_IndicatorArrowRight:
    case PE_IndicatorArrowUp:
    case PE_IndicatorBranch:
    case PE_IndicatorButtonDropDown:
    case PE_IndicatorItemViewItemCheck:
    case PE_IndicatorCheckBox:
    case PE_IndicatorDockWidgetResizeHandle:
    case PE_IndicatorHeaderArrow:
    case PE_IndicatorMenuCheckMark:
    case PE_IndicatorProgressChunk:
    case PE_IndicatorRadioButton:
    case PE_IndicatorSpinDown:
    case PE_IndicatorSpinMinus:
    case PE_IndicatorSpinPlus:
        drawIndicatorPrimitive(element, option, painter, widget);
        return;
    default:
        qWarning("CZelCommonStyle::drawPrimitive(%d) not handled", int(element));
        return;
    }
}

void CZelCommonStyle::drawFramePrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                         const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    const QRect &r = option->rect;
    const int frameWidth = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const int lineWidth = frame ? frame->lineWidth : frameWidth;
    switch (element) {
    case PE_FrameFocusRect:
        drawFocusRect(option, painter);
        return;
    case PE_FrameDefaultButton:
        drawPlainRect(painter, r, pal.color(QPalette::Shadow), 1);
        return;
    case PE_Frame:
    case PE_FrameLineEdit:
    case PE_FrameStatusBarItem:
        if (lineWidth > 0)
            drawShadePanel(painter, r, pal, true, std::min(lineWidth, 2));
        return;
    case PE_FrameGroupBox:
    case PE_FrameTabWidget:
    case PE_FrameTabBarBase:
        drawShadeRect(painter, r, pal, true, 1, 0);
        return;
    case PE_FrameDockWidget:
    case PE_FrameWindow:
    case PE_FrameMenu:
        drawShadePanel(painter, r, pal, false, frameWidth);
        return;
    case PE_FrameButtonBevel:
    case PE_FrameButtonTool:
        drawShadePanel(painter, r, pal, sunkenState(option), frameWidth);
        return;
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
    case PE_PanelButtonTool: {
        if (element == PE_PanelButtonTool && (option->state & State_AutoRaise) &&
            !(option->state & (State_MouseOver | State_Sunken | State_On)))
            return;
        const QBrush fill = pal.brush(sunkenState(option) ? QPalette::Mid : QPalette::Button);
        drawShadePanel(painter, r, pal, sunkenState(option), frameWidth, &fill);
        return;
    }
    case PE_PanelMenuBar:
    case PE_PanelToolBar: {
        const QBrush fill = pal.brush(QPalette::Window);
        drawShadePanel(painter, r, pal, false, 1, &fill);
        return;
    }
    case PE_PanelLineEdit:
        painter->fillRect(r.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth), pal.brush(QPalette::Base));
        if (lineWidth > 0)
            proxy()->drawPrimitive(PE_FrameLineEdit, option, painter, widget);
        return;
    default:
        return;
    }
}

void CZelCommonStyle::drawIndicatorPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                             const QWidget *) const
{
    switch (element) {
    case PE_IndicatorArrowUp:
    case PE_IndicatorArrowDown:
    case PE_IndicatorArrowLeft:
    case PE_IndicatorArrowRight:
    case PE_IndicatorSpinDown:
        drawArrow(painter, option->rect, arrowAngle(element), indicatorColor(option));
        return;
    case PE_IndicatorSpinPlus:
        drawPlusSign(option, painter);
        return;
    case PE_IndicatorSpinMinus:
        drawMinusSign(option, painter);
        return;
    case PE_IndicatorHeaderArrow:
        drawHeaderArrow(option, painter);
        return;
    case PE_IndicatorBranch:
        drawBranch(option, painter);
        return;
    case PE_IndicatorButtonDropDown:
    case PE_IndicatorDockWidgetResizeHandle:
        drawIndicatorPanel(option, painter);
        return;
    case PE_IndicatorCheckBox:
    case PE_IndicatorItemViewItemCheck:
        drawCheckBoxIndicator(option, painter);
        return;
    case PE_IndicatorMenuCheckMark:
        drawMenuCheckMark(option, painter);
        return;
    case PE_IndicatorProgressChunk:
        painter->fillRect(option->rect.adjusted(1, 1, -1, -1), option->palette.brush(QPalette::Highlight));
        return;
    case PE_IndicatorRadioButton:
        drawRadioIndicator(option, painter);
        return;
    default:
        return;
    }
}

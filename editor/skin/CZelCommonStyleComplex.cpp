// CZelCommonStyle: complex controls (slider, dial, scroll bar, spin box, tool
// button, title bar geometry).
#include "editor/skin/CZelCommonStyle.h"

#include "editor/skin/CZelPaintUtilities.h"
#include "editor/skin/CZelStyleOptions.h"

#include <QPaintEngine>
#include <QPainter>
#include <QStyleOption>
#include <QtMath>

#include <algorithm>
#include <cmath>

using namespace CZelPaintUtilities;

namespace {

constexpr int SpinButtonWidth = 16;

double dialAngle(const QStyleOptionSlider *option)
{
    if (option->maximum == option->minimum)
        return M_PI / 2;
    const double fraction =
        double(option->sliderPosition - option->minimum) / (double(option->maximum) - option->minimum);
    if (option->dialWrapping)
        return 3 * M_PI / 2 - 2 * M_PI * fraction;
    return (8 * M_PI - 10 * M_PI * fraction) / 6;
}

} // namespace

const QStyleOptionSlider *CZelCommonStyle::sliderOption(const QStyleOption *option)
{
    if (const auto *keyed = czelKeyedCast<CZelStyleOptionSlider>(option))
        return keyed;
    return qstyleoption_cast<const QStyleOptionSlider *>(option);
}

QRect CZelCommonStyle::dialHandleRect(const QStyleOptionSlider *option, int sliderLength)
{
    const int d = std::min(sliderLength, 5);
    const int width = option->rect.width();
    const int height = option->rect.height();
    const int r = std::max(5, std::min(width, height) / 2 - d);
    const double a = dialAngle(option);
    const int x = int(r * std::cos(a) + width / 2.0 + 0.5) - d / 2;
    const int y = int(height / 2.0 + 0.5 - r * std::sin(a)) - d / 2;
    return visualRect(option->direction, option->rect, QRect(option->rect.left() + x, option->rect.top() + y, d, d));
}

void CZelCommonStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                         const QWidget *widget) const
{
    if (!option || !painter)
        return;
    switch (control) {
    case CC_Slider:
        if (const auto *slider = sliderOption(option))
            drawSlider(slider, painter, widget);
        return;
    case CC_Dial:
        if (const auto *dial = sliderOption(option))
            drawDial(dial, painter, widget);
        return;
    case CC_ScrollBar:
        if (const auto *bar = sliderOption(option))
            drawScrollBar(bar, painter, widget);
        return;
    case CC_SpinBox:
        drawSpinBox(option, painter, widget);
        return;
    case CC_ToolButton:
        drawToolButton(option, painter, widget);
        return;
    default:
        qWarning("CZelCommonStyle::drawComplexControl(%d) not handled", int(control));
        return;
    }
}

void CZelCommonStyle::drawSlider(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    if (option->subControls & SC_SliderGroove) {
        const QRect groove = proxy()->subControlRect(CC_Slider, option, SC_SliderGroove, widget);
        const bool horizontal = option->orientation == Qt::Horizontal;
        const QRect track = horizontal ? QRect(groove.left(), groove.center().y() - 2, groove.width(), 4)
                                       : QRect(groove.center().x() - 2, groove.top(), 4, groove.height());
        const QBrush fill = pal.brush(QPalette::Dark);
        drawShadePanel(painter, track, pal, true, 2, &fill);
    }
    if (option->subControls & SC_SliderTickmarks) {
        const QRect ticks = proxy()->subControlRect(CC_Slider, option, SC_SliderTickmarks, widget);
        const int interval = option->tickInterval < 1 ? option->pageStep : option->tickInterval;
        const bool horizontal = option->orientation == Qt::Horizontal;
        const int length = proxy()->pixelMetric(PM_SliderLength, option, widget);
        const int thickness = proxy()->pixelMetric(PM_SliderControlThickness, option, widget);
        const int offset = proxy()->pixelMetric(PM_SliderTickmarkOffset, option, widget);
        // Tick strips beside the handle's path, inset by half a handle so the
        // ticks line up with the handle's centre.
        const auto strip = [&](int from, int size) {
            return horizontal ? QRect(ticks.left() + length / 2, from, ticks.width() - length, size)
                              : QRect(from, ticks.top() + length / 2, size, ticks.height() - length);
        };
        const int across = horizontal ? ticks.top() : ticks.left();
        if (option->tickPosition & QSlider::TicksAbove)
            drawTickmarks(painter, strip(across, std::max(1, offset - 1)), pal.color(QPalette::WindowText), horizontal,
                          option->minimum, option->maximum, interval);
        if (option->tickPosition & QSlider::TicksBelow) {
            const int start = across + offset + thickness + 1;
            const int end = horizontal ? ticks.bottom() : ticks.right();
            drawTickmarks(painter, strip(start, std::max(1, end - start + 1)), pal.color(QPalette::WindowText),
                          horizontal, option->minimum, option->maximum, interval);
        }
    }
    if (option->subControls & SC_SliderHandle) {
        const QRect handle = proxy()->subControlRect(CC_Slider, option, SC_SliderHandle, widget);
        const bool active = option->activeSubControls & SC_SliderHandle;
        const QBrush fill = pal.brush(active ? QPalette::Midlight : QPalette::Button);
        drawShadePanel(painter, handle, pal, false, 2, &fill);
        if (option->state & State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*option);
            focus.rect = handle.adjusted(-1, -1, 1, 1);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
    }
}

void CZelCommonStyle::drawDial(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    const int size = std::min(option->rect.width(), option->rect.height());
    if (size < 4)
        return;
    const QRectF face(option->rect.left() + (option->rect.width() - size) / 2.0 + 1.5,
                      option->rect.top() + (option->rect.height() - size) / 2.0 + 1.5, size - 3, size - 3);
    painter->save();
    if (painter->paintEngine()->hasFeature(QPaintEngine::Antialiasing))
        painter->setRenderHint(QPainter::Antialiasing);
    if (option->subControls & SC_DialGroove) {
        painter->setPen(QPen(pal.color(QPalette::Dark), 1));
        painter->setBrush(pal.brush(QPalette::Button));
        painter->drawEllipse(face);
        painter->setPen(QPen(pal.color(QPalette::Light), 1.5));
        painter->drawArc(face.adjusted(1, 1, -1, -1), 45 * 16, 180 * 16);
        painter->setPen(QPen(pal.color(QPalette::Mid), 1.5));
        painter->drawArc(face.adjusted(1, 1, -1, -1), 225 * 16, 180 * 16);
    }
    if ((option->subControls & SC_DialTickmarks) && option->tickInterval > 0 && option->maximum > option->minimum) {
        painter->setPen(QPen(pal.color(QPalette::WindowText), 1));
        QStyleOptionSlider tick = *option;
        const QPointF centre = face.center();
        const double outer = face.width() / 2;
        for (qint64 v = option->minimum; v <= option->maximum; v += option->tickInterval) {
            tick.sliderPosition = int(v);
            const double a = dialAngle(&tick);
            painter->drawLine(centre + QPointF(std::cos(a), -std::sin(a)) * (outer - 3),
                              centre + QPointF(std::cos(a), -std::sin(a)) * outer);
        }
    }
    if (option->subControls & SC_DialHandle) {
        const QRect handle = proxy()->subControlRect(CC_Dial, option, SC_DialHandle, widget);
        painter->setPen(QPen(pal.color(QPalette::ButtonText), 2, Qt::SolidLine, Qt::RoundCap));
        painter->drawLine(face.center(), QRectF(handle).center());
        painter->setPen(Qt::NoPen);
        painter->setBrush(
            pal.color(option->activeSubControls & SC_DialHandle ? QPalette::Highlight : QPalette::ButtonText));
        painter->drawEllipse(QRectF(handle));
    }
    painter->restore();
    if (option->state & State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*option);
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
}

void CZelCommonStyle::drawScrollBar(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const
{
    static constexpr std::pair<SubControl, ControlElement> Parts[] = {
        {SC_ScrollBarSubLine, CE_ScrollBarSubLine}, {SC_ScrollBarAddLine, CE_ScrollBarAddLine},
        {SC_ScrollBarSubPage, CE_ScrollBarSubPage}, {SC_ScrollBarAddPage, CE_ScrollBarAddPage},
        {SC_ScrollBarFirst, CE_ScrollBarFirst},     {SC_ScrollBarLast, CE_ScrollBarLast},
        {SC_ScrollBarSlider, CE_ScrollBarSlider}};
    QStyleOptionSlider part = *option;
    for (const auto &[subControl, element] : Parts) {
        if (!(option->subControls & subControl))
            continue;
        part.rect = proxy()->subControlRect(CC_ScrollBar, option, subControl, widget);
        if (!part.rect.isValid())
            continue;
        part.state = option->state & ~State_Sunken;
        if (option->activeSubControls & subControl)
            part.state |= State_Sunken;
        proxy()->drawControl(element, &part, painter, widget);
    }
}

void CZelCommonStyle::drawSpinBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option);
    if (!spin)
        return;
    const QPalette &pal = option->palette;
    if (spin->frame && (option->subControls & SC_SpinBoxFrame)) {
        const QBrush fill = pal.brush(QPalette::Base);
        drawShadePanel(painter, option->rect, pal, true, 2, &fill);
    }
    const std::pair<SubControl, PrimitiveElement> buttons[] = {
        {SC_SpinBoxUp, spin->buttonSymbols == QAbstractSpinBox::PlusMinus ? PE_IndicatorSpinPlus : PE_IndicatorArrowUp},
        {SC_SpinBoxDown,
         spin->buttonSymbols == QAbstractSpinBox::PlusMinus ? PE_IndicatorSpinMinus : PE_IndicatorArrowDown}};
    if (spin->buttonSymbols == QAbstractSpinBox::NoButtons)
        return;
    for (const auto &[subControl, symbol] : buttons) {
        if (!(option->subControls & subControl))
            continue;
        QStyleOption button = *option;
        button.rect = proxy()->subControlRect(CC_SpinBox, option, subControl, widget);
        const bool down = (option->activeSubControls & subControl) && (option->state & State_Sunken);
        const QBrush fill = pal.brush(QPalette::Button);
        drawShadePanel(painter, button.rect, pal, down, 1, &fill);
        const bool stepEnabled = spin->stepEnabled & (subControl == SC_SpinBoxUp ? QAbstractSpinBox::StepUpEnabled
                                                                                 : QAbstractSpinBox::StepDownEnabled);
        if (!stepEnabled)
            button.state &= ~State_Enabled;
        button.rect.adjust(3, 2, -3, -2);
        proxy()->drawPrimitive(symbol, &button, painter, widget);
    }
}

void CZelCommonStyle::drawToolButton(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *tool = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    if (!tool)
        return;
    QStyleOption panel = *option;
    panel.rect = proxy()->subControlRect(CC_ToolButton, option, SC_ToolButton, widget);
    if (!(option->activeSubControls & SC_ToolButton))
        panel.state &= ~State_Sunken;
    if (option->subControls & SC_ToolButton)
        proxy()->drawPrimitive(PE_PanelButtonTool, &panel, painter, widget);
    QStyleOptionToolButton label = *tool;
    label.rect = panel.rect.adjusted(3, 3, -3, -3);
    label.state = panel.state;
    proxy()->drawControl(CE_ToolButtonLabel, &label, painter, widget);
    if (option->subControls & SC_ToolButtonMenu) {
        QStyleOption menu = *option;
        menu.rect = proxy()->subControlRect(CC_ToolButton, option, SC_ToolButtonMenu, widget);
        proxy()->drawPrimitive(PE_IndicatorButtonDropDown, &menu, painter, widget);
        menu.rect.adjust(2, 2, -2, -2);
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &menu, painter, widget);
    }
}

QStyle::SubControl CZelCommonStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                          const QPoint &point, const QWidget *widget) const
{
    if (!option)
        return SC_None;
    const auto first = [&](std::initializer_list<SubControl> order) {
        for (SubControl sc : order) {
            if (proxy()->subControlRect(control, option, sc, widget).contains(point))
                return sc;
        }
        return SC_None;
    };
    switch (control) {
    case CC_Slider:
        return first({SC_SliderHandle, SC_SliderGroove});
    case CC_Dial:
        return first({SC_DialHandle, SC_DialGroove});
    case CC_ScrollBar:
        return first({SC_ScrollBarSlider, SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSubPage,
                      SC_ScrollBarAddPage, SC_ScrollBarFirst, SC_ScrollBarLast, SC_ScrollBarGroove});
    case CC_SpinBox:
        return first({SC_SpinBoxUp, SC_SpinBoxDown, SC_SpinBoxEditField, SC_SpinBoxFrame});
    case CC_TitleBar:
        return first({SC_TitleBarCloseButton, SC_TitleBarMaxButton, SC_TitleBarMinButton, SC_TitleBarNormalButton,
                      SC_TitleBarLabel});
    case CC_ComboBox: {
        // The arrow strip at the trailing edge opens the list; the rest is the field.
        const int frame = proxy()->pixelMetric(PM_ComboBoxFrameWidth, option, widget);
        const QRect arrow =
            visualRect(option->direction, option->rect,
                       QRect(option->rect.right() - 16 - frame, option->rect.top(), 16 + frame, option->rect.height()));
        if (arrow.contains(point))
            return SC_ComboBoxArrow;
        return option->rect.contains(point) ? SC_ComboBoxEditField : SC_None;
    }
    default:
        break;
    }
    qWarning("CZelCommonStyle::hitTestComplexControl(%d) not handled", int(control));
    return SC_None;
}

QRect CZelCommonStyle::sliderSubControlRect(const QStyleOptionSlider *option, SubControl subControl,
                                            const QWidget *widget) const
{
    const bool horizontal = option->orientation == Qt::Horizontal;
    const QRect &r = option->rect;
    const int thickness = proxy()->pixelMetric(PM_SliderControlThickness, option, widget);
    const int offset = proxy()->pixelMetric(PM_SliderTickmarkOffset, option, widget);
    switch (subControl) {
    case SC_SliderHandle: {
        const int length = proxy()->pixelMetric(PM_SliderLength, option, widget);
        const int span = (horizontal ? r.width() : r.height()) - length;
        const int position =
            sliderPositionFromValue(option->minimum, option->maximum, option->sliderPosition, span, option->upsideDown);
        const QRect handle = horizontal ? QRect(r.left() + position, r.top() + offset, length, thickness)
                                        : QRect(r.left() + offset, r.top() + position, thickness, length);
        return visualRect(option->direction, r, handle);
    }
    case SC_SliderGroove:
        return visualRect(option->direction, r,
                          horizontal ? QRect(r.left(), r.top() + offset, r.width(), thickness)
                                     : QRect(r.left() + offset, r.top(), thickness, r.height()));
    case SC_SliderTickmarks:
        return r;
    default:
        return {};
    }
}

QRect CZelCommonStyle::scrollBarSubControlRect(const QStyleOptionSlider *option, SubControl subControl,
                                               const QWidget *widget) const
{
    const bool horizontal = option->orientation == Qt::Horizontal;
    const QRect &r = option->rect;
    const int length = horizontal ? r.width() : r.height();
    const int extent = horizontal ? r.height() : r.width();
    const int button = std::min(extent, length / 2);
    const int grooveLength = std::max(0, length - 2 * button);
    const qint64 range = qint64(option->maximum) - option->minimum;
    int sliderLength = grooveLength;
    if (range > 0) {
        sliderLength = int(qint64(option->pageStep) * grooveLength / (range + option->pageStep));
        sliderLength =
            std::clamp(sliderLength, proxy()->pixelMetric(PM_ScrollBarSliderMin, option, widget), grooveLength);
    }
    const int sliderStart = button + sliderPositionFromValue(option->minimum, option->maximum, option->sliderPosition,
                                                             grooveLength - sliderLength, option->upsideDown);
    const auto along = [&](int start, int size) {
        return visualRect(option->direction, r,
                          horizontal ? QRect(r.left() + start, r.top(), size, extent)
                                     : QRect(r.left(), r.top() + start, extent, size));
    };
    switch (subControl) {
    case SC_ScrollBarSubLine:
        return along(0, button);
    case SC_ScrollBarAddLine:
        return along(length - button, button);
    case SC_ScrollBarSubPage:
        return along(button, sliderStart - button);
    case SC_ScrollBarAddPage:
        return along(sliderStart + sliderLength, length - button - sliderStart - sliderLength);
    case SC_ScrollBarGroove:
        return along(button, grooveLength);
    case SC_ScrollBarSlider:
        return along(sliderStart, sliderLength);
    default:
        return {};
    }
}

QRect CZelCommonStyle::spinBoxSubControlRect(const QStyleOptionComplex *option, SubControl subControl,
                                             const QWidget *widget) const
{
    const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option);
    const QRect &r = option->rect;
    const int frame = spin && spin->frame ? proxy()->pixelMetric(PM_SpinBoxFrameWidth, option, widget) : 0;
    const bool buttons = !spin || spin->buttonSymbols != QAbstractSpinBox::NoButtons;
    const int buttonWidth = buttons ? SpinButtonWidth : 0;
    const int half = (r.height() - 2 * frame) / 2;
    QRect result;
    switch (subControl) {
    case SC_SpinBoxUp:
        result = QRect(r.right() - frame - buttonWidth + 1, r.top() + frame, buttonWidth, half);
        break;
    case SC_SpinBoxDown:
        result = QRect(r.right() - frame - buttonWidth + 1, r.top() + frame + half, buttonWidth,
                       r.height() - 2 * frame - half);
        break;
    case SC_SpinBoxEditField:
        result = QRect(r.left() + frame, r.top() + frame, r.width() - 2 * frame - buttonWidth, r.height() - 2 * frame);
        break;
    case SC_SpinBoxFrame:
        return r;
    default:
        return {};
    }
    return visualRect(option->direction, r, result);
}

QRect CZelCommonStyle::titleBarSubControlRect(const QStyleOptionComplex *option, SubControl subControl,
                                              const QWidget *) const
{
    const QRect &r = option->rect;
    const int size = std::max(0, r.height() - 4);
    // Buttons from the trailing edge: close, maximise or restore, minimise.
    const auto button = [&](int slot) {
        return QRect(r.right() - 2 - (slot + 1) * (size + 2) + 2, r.top() + 2, size, size);
    };
    QRect result;
    switch (subControl) {
    case SC_TitleBarCloseButton:
        result = button(0);
        break;
    case SC_TitleBarMaxButton:
    case SC_TitleBarNormalButton:
        result = button(1);
        break;
    case SC_TitleBarMinButton:
        result = button(2);
        break;
    case SC_TitleBarLabel:
        result = QRect(r.left() + 4, r.top(), std::max(0, r.width() - 3 * (size + 2) - 8), r.height());
        break;
    default:
        return {};
    }
    return visualRect(option->direction, r, result);
}

QRect CZelCommonStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                                      const QWidget *widget) const
{
    if (!option)
        return {};
    switch (control) {
    case CC_Slider:
        if (const auto *slider = sliderOption(option))
            return sliderSubControlRect(slider, subControl, widget);
        return {};
    case CC_Dial:
        if (const auto *dial = sliderOption(option)) {
            if (subControl == SC_DialHandle)
                return dialHandleRect(dial, proxy()->pixelMetric(PM_SliderLength, option, widget));
            if (subControl == SC_DialGroove || subControl == SC_DialTickmarks)
                return option->rect;
        }
        return {};
    case CC_ScrollBar:
        if (const auto *bar = sliderOption(option))
            return scrollBarSubControlRect(bar, subControl, widget);
        return {};
    case CC_SpinBox:
        return spinBoxSubControlRect(option, subControl, widget);
    case CC_ToolButton: {
        const auto *tool = qstyleoption_cast<const QStyleOptionToolButton *>(option);
        const int menu = tool && (tool->features & QStyleOptionToolButton::MenuButtonPopup)
                             ? proxy()->pixelMetric(PM_MenuButtonIndicator, option, widget)
                             : 0;
        const QRect &r = option->rect;
        if (subControl == SC_ToolButton)
            return visualRect(option->direction, r, r.adjusted(0, 0, -menu, 0));
        if (subControl == SC_ToolButtonMenu)
            return visualRect(option->direction, r, QRect(r.right() - menu + 1, r.top(), menu, r.height()));
        return {};
    }
    case CC_TitleBar:
        return titleBarSubControlRect(option, subControl, widget);
    default:
        break;
    }
    qWarning("CZelCommonStyle::subControlRect(%d) not handled", int(control));
    return {};
}

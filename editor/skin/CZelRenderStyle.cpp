#include "editor/skin/CZelRenderStyle.h"

#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelPaintUtilities.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelSkinEngine.h"
#include "editor/skin/CZelStyleOptions.h"

#include <QPainter>

#include <variant>

namespace {

// The toolkit option behind a keyed button or frame option, for the styles
// below that know nothing of those keys. Slider options keep their keys: the
// common style reads them as slider options and asks the metrics with them.
class PlainOption
{
public:
    explicit PlainOption(const QStyleOption *option) : m_option(option)
    {
        if (const auto *button = czelKeyedCast<CZelStyleOptionButton>(option))
            m_option = &m_storage.emplace<QStyleOptionButton>(button->plain());
        else if (const auto *frame = czelKeyedCast<CZelStyleOptionFrame>(option))
            m_option = &m_storage.emplace<QStyleOptionFrame>(frame->plain());
        else if (const auto *tab = czelKeyedCast<CZelStyleOptionTabWidgetFrame>(option))
            m_option = &m_storage.emplace<QStyleOptionTabWidgetFrame>(tab->plain());
    }
    PlainOption(const PlainOption &) = delete;
    PlainOption &operator=(const PlainOption &) = delete;

    const QStyleOption *get() const { return m_option; }
    const QStyleOptionComplex *complex() const { return static_cast<const QStyleOptionComplex *>(m_option); }

private:
    std::variant<std::monostate, QStyleOptionButton, QStyleOptionFrame, QStyleOptionTabWidgetFrame> m_storage;
    const QStyleOption *m_option;
};

constexpr QColor HoverColor(127, 127, 127, 63);

struct SliderParts {
    QStyle::SubControl track;
    QStyle::SubControl thumb;
    QStyle::SubControl ticks;
};

SliderParts partsOf(QStyle::ComplexControl control)
{
    switch (control) {
    case QStyle::CC_Dial:
        return {QStyle::SC_DialGroove, QStyle::SC_DialHandle, QStyle::SC_DialTickmarks};
    case QStyle::CC_ScrollBar:
        return {QStyle::SC_ScrollBarGroove, QStyle::SC_ScrollBarSlider, QStyle::SC_None};
    default:
        return {QStyle::SC_SliderGroove, QStyle::SC_SliderHandle, QStyle::SC_SliderTickmarks};
    }
}

} // namespace

CZelRenderStyle::CZelRenderStyle(CZelSkinEngine *engine) : CZelSkinStyle(engine) {}
CZelRenderStyle::~CZelRenderStyle() = default;

bool CZelRenderStyle::addRenderDescription(const QString &key, const CZelNode &node)
{
    return engine() && engine()->addRenderDescription(key, node);
}

CZelRenderDescription *CZelRenderStyle::description(const QString &key) const
{
    return engine() ? engine()->renderDescription(key) : nullptr;
}

void CZelRenderStyle::paint(QPainter *painter, const CZelRenderDescription *description, const QRect &target,
                            float position, bool normal, bool pressed, bool disabled, bool on, bool mid) const
{
    if (!description)
        return;
    CZelRenderState state;
    state.normal = normal;
    state.pressed = pressed;
    state.disabled = disabled;
    state.on = on;
    state.mid = mid;
    description->paint(painter, target, position, state);
}

void CZelRenderStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    const auto *button = czelKeyedCast<CZelStyleOptionButton>(option);
    const auto *frame = czelKeyedCast<CZelStyleOptionFrame>(option);
    const auto *tabFrame = czelKeyedCast<CZelStyleOptionTabWidgetFrame>(option);
    const State state = option ? option->state : State_None;
    const bool disabled = !(state & State_Enabled);
    switch (element) {
    case PE_PanelButtonCommand:
        if (const CZelRenderDescription *d = button ? description(button->keys[0]) : nullptr) {
            paint(painter, d, option->rect, 0, state & State_Raised, state & State_Sunken, disabled, state & State_On,
                  false);
            return;
        }
        break;
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton:
        if (const CZelRenderDescription *d = button ? description(button->keys[0]) : nullptr) {
            if (!disabled && (state & State_MouseOver) && d->focusStyle() == CZelRenderDescription::Focus_Hover)
                CZelPaintUtilities::drawCapsule(painter, widget ? widget->rect() : option->rect, HoverColor);
            paint(painter, d, option->rect, 0, state & State_Off, state & State_Sunken, disabled, state & State_On,
                  false);
            return;
        }
        break;
    case PE_Frame:
    case PE_FrameGroupBox:
    case PE_FrameTabWidget: {
        const QString key = element == PE_FrameTabWidget ? (tabFrame ? tabFrame->keys[0] : QString())
                                                         : (frame ? frame->keys[0] : QString());
        if (const CZelRenderDescription *d = description(key)) {
            paint(painter, d, option->rect, 0, !disabled, false, disabled, state & State_On, false);
            return;
        }
        break;
    }
    default:
        break;
    }
    const PlainOption plain(option);
    CZelSkinStyle::drawPrimitive(element, plain.get(), painter, widget);
}

void CZelRenderStyle::drawKeyedButton(ControlElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const auto *keyed = czelKeyedCast<CZelStyleOptionButton>(option);
    const QStyleOptionButton plain = keyed->plain();
    if (element == CE_PushButton) {
        proxy()->drawPrimitive(PE_PanelButtonCommand, option, painter, widget);
        if (!plain.text.isEmpty() || !plain.icon.isNull()) {
            QStyleOptionButton label = plain;
            label.rect = proxy()->subElementRect(SE_PushButtonContents, &plain, widget);
            proxy()->drawControl(CE_PushButtonLabel, &label, painter, widget);
        }
        if (option->state & State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(plain);
            focus.rect = proxy()->subElementRect(SE_PushButtonFocusRect, &plain, widget);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
        return;
    }
    const bool check = element == CE_CheckBox;
    CZelStyleOptionButton indicator = *keyed;
    indicator.rect = proxy()->subElementRect(check ? SE_CheckBoxIndicator : SE_RadioButtonIndicator, option, widget);
    proxy()->drawPrimitive(check ? PE_IndicatorCheckBox : PE_IndicatorRadioButton, &indicator, painter, widget);
    QStyleOptionButton label = plain;
    label.rect = proxy()->subElementRect(check ? SE_CheckBoxContents : SE_RadioButtonContents, option, widget);
    proxy()->drawControl(check ? CE_CheckBoxLabel : CE_RadioButtonLabel, &label, painter, widget);
}

void CZelRenderStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const bool composed = element == CE_PushButton || element == CE_CheckBox || element == CE_RadioButton;
    if (composed && czelKeyedCast<CZelStyleOptionButton>(option)) {
        drawKeyedButton(element, option, painter, widget);
        return;
    }
    const PlainOption plain(option);
    CZelSkinStyle::drawControl(element, plain.get(), painter, widget);
}

QRect CZelRenderStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    // Indicator rectangles ask the metrics with the keyed option, so that the
    // description's size applies.
    if (czelKeyedCast<CZelStyleOptionButton>(option))
        return CZelCommonStyle::subElementRect(element, option, widget);
    const PlainOption plain(option);
    return CZelSkinStyle::subElementRect(element, plain.get(), widget);
}

void CZelRenderStyle::drawKeyedSlider(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const auto *keyed = czelKeyedCast<CZelStyleOptionSlider>(option);
    const SliderParts parts = partsOf(control);
    const qint64 range = qint64(keyed->maximum) - keyed->minimum;
    const float position = range > 0 ? float(double(keyed->sliderPosition - keyed->minimum) / double(range)) : 0.0f;
    const auto paintPart = [&](SubControl subControl, const QString &key) {
        const CZelRenderDescription *d = description(key);
        if (!d || !(keyed->subControls & subControl))
            return QRect();
        const QRect rect = proxy()->subControlRect(control, keyed, subControl, widget);
        if (!rect.isValid())
            return QRect();
        State state = keyed->state;
        if (!(keyed->activeSubControls & subControl))
            state &= ~State_MouseOver;
        paint(painter, d, rect, position, state & State_Raised, state & State_Sunken, !(state & State_Enabled), false,
              false);
        return rect;
    };
    if (parts.ticks != SC_None && (keyed->subControls & parts.ticks)) {
        CZelStyleOptionSlider ticks = *keyed;
        ticks.subControls = parts.ticks;
        CZelSkinStyle::drawComplexControl(control, &ticks, painter, widget);
    }
    if (control == CC_ScrollBar) {
        QStyleOptionSlider buttons = keyed->plain();
        buttons.subControls &= ~(SC_ScrollBarGroove | SC_ScrollBarSlider);
        CZelSkinStyle::drawComplexControl(control, &buttons, painter, widget);
    }
    paintPart(parts.track, keyed->keys[0]);
    const QRect thumb = paintPart(parts.thumb, keyed->keys[1]);
    if (thumb.isValid() && (keyed->state & State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*keyed);
        focus.rect = thumb;
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
}

void CZelRenderStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                         const QWidget *widget) const
{
    const bool sliderKind = control == CC_ScrollBar || control == CC_Slider || control == CC_Dial;
    if (sliderKind && czelKeyedCast<CZelStyleOptionSlider>(option)) {
        drawKeyedSlider(control, option, painter, widget);
        return;
    }
    const PlainOption plain(option);
    CZelSkinStyle::drawComplexControl(control, plain.complex(), painter, widget);
}

QStyle::SubControl CZelRenderStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                          const QPoint &point, const QWidget *widget) const
{
    const PlainOption plain(option);
    return CZelSkinStyle::hitTestComplexControl(control, plain.complex(), point, widget);
}

QRect CZelRenderStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                                      const QWidget *widget) const
{
    const PlainOption plain(option);
    return CZelSkinStyle::subControlRect(control, plain.complex(), subControl, widget);
}

int CZelRenderStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    int value = -1;
    if (const auto *slider = czelKeyedCast<CZelStyleOptionSlider>(option)) {
        const CZelRenderDescription *d = description(slider->keys[0]);
        const QSize natural = d ? d->naturalSize() : QSize(-1, -1);
        const bool horizontal = slider->orientation == Qt::Horizontal;
        const int across = horizontal ? natural.height() : natural.width();
        const int along = horizontal ? natural.width() : natural.height();
        switch (metric) {
        case PM_ScrollBarExtent:
        case PM_SliderControlThickness:
            value = across;
            break;
        case PM_ScrollBarSliderMin:
        case PM_SliderLength:
            value = along;
            break;
        default:
            break;
        }
    } else if (const auto *button = czelKeyedCast<CZelStyleOptionButton>(option)) {
        const CZelRenderDescription *d = description(button->keys[0]);
        const QSize natural = d ? d->naturalSize() : QSize(-1, -1);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_ExclusiveIndicatorWidth:
            value = natural.width();
            break;
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorHeight:
            value = natural.height();
            break;
        default:
            break;
        }
    }
    if (value >= 0)
        return value;
    const PlainOption plain(option);
    return CZelSkinStyle::pixelMetric(metric, plain.get(), widget);
}

QSize CZelRenderStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                                        const QWidget *widget) const
{
    if ((type == CT_CheckBox || type == CT_RadioButton) && czelKeyedCast<CZelStyleOptionButton>(option))
        return CZelCommonStyle::sizeFromContents(type, option, contentsSize, widget);
    const PlainOption plain(option);
    return CZelSkinStyle::sizeFromContents(type, plain.get(), contentsSize, widget);
}

int CZelRenderStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                               QStyleHintReturn *returnData) const
{
    const PlainOption plain(option);
    return CZelCommonStyle::styleHint(hint, plain.get(), widget, returnData);
}

#include "editor/skin/CZelSkinStyle.h"

#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOption>

class CZelSkinStylePrivate
{
public:
    CZelSkinEngine *engine = nullptr;
};

CZelSkinStyle::CZelSkinStyle(CZelSkinEngine *engine) : d(std::make_unique<CZelSkinStylePrivate>())
{
    d->engine = engine;
}

CZelSkinStyle::~CZelSkinStyle() = default;

CZelSkinEngine *CZelSkinStyle::engine() const { return d->engine; }

namespace {

bool isIndicatorButton(const QWidget *widget)
{
    return qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget);
}

} // namespace

// A description assigned to the widget itself paints it whole; without one
// (the usual case) the wire-frame drawing applies.
bool CZelSkinStyle::paintWidgetDescription(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const CZelRenderDescription *description =
        d->engine && widget && option ? d->engine->widgetDescription(widget, 0) : nullptr;
    if (!description)
        return false;
    CZelRenderState state;
    state.pressed = option->state & State_Sunken;
    state.disabled = !(option->state & State_Enabled);
    state.on = option->state & State_On;
    state.mid = option->state & State_NoChange;
    state.normal = !state.pressed;
    description->paint(painter, option->rect, 0.0, state);
    return true;
}

void CZelSkinStyle::polish(QWidget *widget)
{
    CZelWireFrameStyle::polish(widget);
    if (isIndicatorButton(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

void CZelSkinStyle::unpolish(QWidget *widget)
{
    if (isIndicatorButton(widget))
        widget->setAttribute(Qt::WA_Hover, false);
    CZelWireFrameStyle::unpolish(widget);
}

void CZelSkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    if (!paintWidgetDescription(option, painter, widget))
        CZelWireFrameStyle::drawPrimitive(element, option, painter, widget);
}

void CZelSkinStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const
{
    if (!paintWidgetDescription(option, painter, widget))
        CZelWireFrameStyle::drawControl(element, option, painter, widget);
}

void CZelSkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                       const QWidget *widget) const
{
    if (!paintWidgetDescription(option, painter, widget))
        CZelWireFrameStyle::drawComplexControl(control, option, painter, widget);
}

#include "editor/skin/CZelSlider.h"

#include "editor/skin/CZelSkinnedSlider_p.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

class CZelSliderPrivate : public CZelSkinnedSliderPrivate
{
public:
    CZelSliderPrivate() : CZelSkinnedSliderPrivate(QStyle::CC_Slider) {}
    CZelStyleOptionSlider option() const override;
    int pick(const QPoint &point) const { return orientation == Qt::Horizontal ? point.x() : point.y(); }
    int valueAt(int position) const;
    int dragValue(const QPoint &point) const;
    QRect handleRect() const;
    // Presses the handle, the pointer holding it offset pixels from its start.
    void pressHandle(int offset);

    int clickBehaviour = CZelSlider::JumpToClick;
    int tickPosition = CZelSlider::NoTicks;
    int tickInterval = 0;
    int clickOffset = 0;
    int valueAtPress = 0;
    QPoint pressPoint;
};

CZelStyleOptionSlider CZelSliderPrivate::option() const
{
    CZelStyleOptionSlider option;
    option.initFrom(q);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = orientation;
    option.minimum = minimum;
    option.maximum = maximum;
    option.sliderPosition = value;
    option.sliderValue = value;
    option.singleStep = singleStep;
    option.pageStep = pageStep;
    option.tickPosition = QSlider::TickPosition(tickPosition);
    option.tickInterval = tickInterval;
    if (orientation == Qt::Horizontal) {
        option.upsideDown = (q->layoutDirection() == Qt::RightToLeft) != invertedAppearance;
        option.state |= QStyle::State_Horizontal;
    } else {
        option.upsideDown = !invertedAppearance;
    }
    option.direction = Qt::LeftToRight;
    fillState(option);
    return option;
}

int CZelSliderPrivate::valueAt(int position) const
{
    const StyleSliderOption option(this->option(), q->style());
    const QRect groove = q->style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderGroove, q);
    const QRect handle = q->style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderHandle, q);
    const bool horizontal = orientation == Qt::Horizontal;
    const int length = horizontal ? handle.width() : handle.height();
    const int start = horizontal ? groove.x() : groove.y();
    const int span = (horizontal ? groove.width() : groove.height()) - length;
    return QStyle::sliderValueFromPosition(minimum, maximum, position - start, span, option->upsideDown);
}

// While dragging: the handle follows the pointer. A handle as long as its
// groove (the wheels' film strips) leaves no span to map, so the value then
// moves with the pointer's distance from the press, over the groove's length.
int CZelSliderPrivate::dragValue(const QPoint &point) const
{
    const StyleSliderOption option(this->option(), q->style());
    const QRect groove = q->style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderGroove, q);
    const QRect handle = q->style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderHandle, q);
    const bool horizontal = orientation == Qt::Horizontal;
    const int grooveLength = horizontal ? groove.width() : groove.height();
    if (grooveLength - (horizontal ? handle.width() : handle.height()) > 0)
        return valueAt(pick(point) - clickOffset);
    const qint64 moved = pick(point) - pick(pressPoint);
    const qint64 delta = moved * (qint64(maximum) - minimum) / std::max(1, grooveLength);
    return bound(qint64(valueAtPress) + (option->upsideDown ? -delta : delta));
}

QRect CZelSliderPrivate::handleRect() const
{
    const StyleSliderOption option(this->option(), q->style());
    return q->style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderHandle, q);
}

void CZelSliderPrivate::pressHandle(int offset)
{
    q->setRepeatAction(CZelRangeControl::NoAction);
    pressedControl = QStyle::SC_SliderHandle;
    clickOffset = offset;
    q->setSliderDown(true);
    q->update(handleRect());
}

CZelSlider::CZelSlider(QWidget *parent) : CZelRangeControl(*new CZelSliderPrivate, parent)
{
    d_func()->orientation = Qt::Vertical;
    setFocusPolicy(Qt::FocusPolicy(style()->styleHint(QStyle::SH_Button_FocusPolicy)));
    setSizePolicy(QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding, QSizePolicy::Slider));
    setAttribute(Qt::WA_WState_OwnSizePolicy, false);
}

CZelSlider::~CZelSlider() = default;

CZelSliderPrivate *CZelSlider::d_func() { return static_cast<CZelSliderPrivate *>(d_ptr.get()); }
const CZelSliderPrivate *CZelSlider::d_func() const { return static_cast<const CZelSliderPrivate *>(d_ptr.get()); }

QString CZelSlider::grooveKey() const { return d_func()->keys[0]; }
QString CZelSlider::handleKey() const { return d_func()->keys[1]; }

void CZelSlider::setGrooveKey(const QString &key) { d_func()->setKey(0, key); }

void CZelSlider::setHandleKey(const QString &key) { d_func()->setKey(1, key); }

int CZelSlider::clickBehaviour() const { return d_func()->clickBehaviour; }
void CZelSlider::setClickBehaviour(int behaviour) { d_func()->clickBehaviour = behaviour; }
int CZelSlider::tickPosition() const { return d_func()->tickPosition; }

void CZelSlider::setTickPosition(int position)
{
    d_func()->tickPosition = position;
    updateGeometry();
    update();
}

int CZelSlider::tickInterval() const { return d_func()->tickInterval; }

void CZelSlider::setTickInterval(int interval)
{
    d_func()->tickInterval = std::max(0, interval);
    update();
}

QSize CZelSlider::sizeHint() const
{
    ensurePolished();
    const CZelSliderPrivate *d = d_func();
    const StyleSliderOption option(d->option(), style());
    const QSize natural = d->naturalSize();
    const bool horizontal = d->orientation == Qt::Horizontal;
    int length = horizontal ? natural.width() : natural.height();
    if (length < 0)
        length = 84;
    int thickness = style()->pixelMetric(QStyle::PM_SliderThickness, option.get(), this);
    if (d->tickPosition & TicksAbove)
        thickness += 5;
    if (d->tickPosition & TicksBelow)
        thickness += 5;
    const QSize size = horizontal ? QSize(length, thickness) : QSize(thickness, length);
    return style()->sizeFromContents(QStyle::CT_Slider, option.get(), size, this);
}

QSize CZelSlider::minimumSizeHint() const
{
    QSize size = sizeHint();
    const StyleSliderOption option(d_func()->option(), style());
    const int length = style()->pixelMetric(QStyle::PM_SliderLength, option.get(), this);
    if (d_func()->orientation == Qt::Horizontal)
        size.setWidth(length);
    else
        size.setHeight(length);
    return size;
}

bool CZelSlider::event(QEvent *event)
{
    d_func()->hoverEvent(event);
    return CZelRangeControl::event(event);
}

void CZelSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CZelStyleOptionSlider option = d_func()->option();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    if (d_func()->tickPosition != NoTicks)
        option.subControls |= QStyle::SC_SliderTickmarks;
    const StyleSliderOption styled(option, style());
    style()->drawComplexControl(QStyle::CC_Slider, styled.get(), &painter, this);
}

void CZelSlider::mousePressEvent(QMouseEvent *event)
{
    CZelSliderPrivate *d = d_func();
    if (d->maximum == d->minimum || event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint point = event->position().toPoint();
    d->pressPoint = point;
    d->valueAtPress = d->value;
    const StyleSliderOption option(d->option(), style());
    const QStyle::SubControl hit = style()->hitTestComplexControl(QStyle::CC_Slider, option.get(), point, this);
    if (hit == QStyle::SC_SliderHandle) {
        d->pressHandle(d->pick(point - d->handleRect().topLeft()));
    } else if (hit == QStyle::SC_SliderGroove && d->clickBehaviour == JumpToClick) {
        // The pointer keeps holding the handle by its middle, wherever the
        // value snapped it to.
        const int half = style()->pixelMetric(QStyle::PM_SliderLength, option.get(), this) / 2;
        setValue(d->valueAt(d->pick(point) - half));
        triggerAction(Move);
        setRepeatAction(NoAction);
        d->valueAtPress = d->value;
        d->pressHandle(half);
    } else if (hit == QStyle::SC_SliderGroove) {
        d->pressedControl = QStyle::SC_SliderGroove;
        const int action = d->valueAt(d->pick(point)) < d->value ? SingleStepSub : SingleStepAdd;
        triggerAction(action);
        setRepeatAction(action, 500, 50);
    }
}

void CZelSlider::mouseMoveEvent(QMouseEvent *event)
{
    CZelSliderPrivate *d = d_func();
    if (d->pressedControl != QStyle::SC_SliderHandle || (event->buttons() & (Qt::RightButton | Qt::MiddleButton))) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint point = event->position().toPoint();
    int value = d->dragValue(point);
    const StyleSliderOption option(d->option(), style());
    const int distance = style()->pixelMetric(QStyle::PM_MaximumDragDistance, option.get(), this);
    if (distance >= 0 && !rect().adjusted(-distance, -distance, distance, distance).contains(point))
        value = d->valueAtPress;
    setValue(value);
}

void CZelSlider::mouseReleaseEvent(QMouseEvent *event)
{
    CZelSliderPrivate *d = d_func();
    if (d->pressedControl == QStyle::SC_None || event->buttons() != Qt::NoButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QStyle::SubControl old = d->pressedControl;
    d->pressedControl = QStyle::SC_None;
    setRepeatAction(NoAction);
    if (old == QStyle::SC_SliderHandle)
        setSliderDown(false);
    const StyleSliderOption option(d->option(), style());
    update(style()->subControlRect(QStyle::CC_Slider, option.get(), old, this));
}

void CZelSlider::sliderChange(int change)
{
    CZelSliderPrivate *d = d_func();
    if (change == ValueChange && d->repeatAction != NoAction && d->pressedControl == QStyle::SC_SliderGroove) {
        const StyleSliderOption option(d->option(), style());
        if (style()->styleHint(QStyle::SH_Slider_StopMouseOverSlider, option.get(), this)) {
            const QRect handle =
                style()->subControlRect(QStyle::CC_Slider, option.get(), QStyle::SC_SliderHandle, this);
            if (handle.contains(mapFromGlobal(QCursor::pos())))
                setRepeatAction(NoAction);
        }
    }
    CZelRangeControl::sliderChange(change);
}

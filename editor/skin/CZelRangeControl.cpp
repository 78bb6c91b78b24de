#include "editor/skin/CZelRangeControl_p.h"

#include "editor/skin/CZelValueSpec.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimerEvent>
#include <QWheelEvent>

#include <cmath>

namespace {

// The control that received the last wheel event: the accumulated fraction
// of a step belongs to it alone.
QPointer<CZelRangeControl> &lastWheelControl()
{
    static QPointer<CZelRangeControl> control;
    return control;
}

} // namespace

float CZelRangeControlPrivate::normalized(int v) const
{
    // A control whose range is a single value sits at its start.
    return maximum > minimum ? float(double(v - minimum) / (double(maximum) - minimum)) : 0.0f;
}

int CZelRangeControlPrivate::actionValue(int action) const
{
    switch (action) {
    case CZelRangeControl::SingleStepSub:
        return bound(qint64(value) - singleStep);
    case CZelRangeControl::SingleStepAdd:
        return bound(qint64(value) + singleStep);
    case CZelRangeControl::PageStepSub:
        return bound(qint64(value) - pageStep);
    case CZelRangeControl::PageStepAdd:
        return bound(qint64(value) + pageStep);
    case CZelRangeControl::ThirdStepSub:
        return bound(qint64(value) - thirdStep);
    case CZelRangeControl::ThirdStepAdd:
        return bound(qint64(value) + thirdStep);
    case CZelRangeControl::FourthStepSub:
        return bound(qint64(value) - fourthStep);
    case CZelRangeControl::FourthStepAdd:
        return bound(qint64(value) + fourthStep);
    case CZelRangeControl::ToMinimum:
        return minimum;
    case CZelRangeControl::ToMaximum:
        return maximum;
    default:
        return value;
    }
}

CZelRangeControl::CZelRangeControl(QWidget *parent) : CZelRangeControl(*new CZelRangeControlPrivate, parent) {}

CZelRangeControl::CZelRangeControl(CZelRangeControlPrivate &dd, QWidget *parent) : QWidget(parent), d_ptr(&dd)
{
    d_ptr->q = this;
    setFocusPolicy(Qt::FocusPolicy(Qt::TabFocus | Qt::WheelFocus | Qt::ClickFocus));
}

CZelRangeControl::~CZelRangeControl() = default;

int CZelRangeControl::minimum() const { return d_ptr->minimum; }
int CZelRangeControl::maximum() const { return d_ptr->maximum; }

void CZelRangeControl::setRange(int minimum, int maximum)
{
    d_ptr->minimum = minimum;
    d_ptr->maximum = std::max(minimum, maximum);
    sliderChange(RangeChange);
    emit rangeChanged(d_ptr->minimum, d_ptr->maximum);
    setValue(d_ptr->value);
}

void CZelRangeControl::setMinimum(int minimum) { setRange(minimum, std::max(d_ptr->maximum, minimum)); }
void CZelRangeControl::setMaximum(int maximum) { setRange(std::min(d_ptr->minimum, maximum), maximum); }
int CZelRangeControl::value() const { return d_ptr->value; }
int CZelRangeControl::singleStep() const { return d_ptr->singleStep; }
void CZelRangeControl::setSingleStep(int step) { d_ptr->singleStep = step; }
int CZelRangeControl::pageStep() const { return d_ptr->pageStep; }
void CZelRangeControl::setPageStep(int step) { d_ptr->pageStep = step; }
int CZelRangeControl::thirdStep() const { return d_ptr->thirdStep; }
void CZelRangeControl::setThirdStep(int step) { d_ptr->thirdStep = step; }
int CZelRangeControl::fourthStep() const { return d_ptr->fourthStep; }
void CZelRangeControl::setFourthStep(int step) { d_ptr->fourthStep = step; }
Qt::Orientation CZelRangeControl::orientation() const { return d_ptr->orientation; }

void CZelRangeControl::setOrientation(Qt::Orientation orientation)
{
    if (d_ptr->orientation == orientation)
        return;
    d_ptr->orientation = orientation;
    // The size policy turns with the control unless someone set one.
    if (!testAttribute(Qt::WA_WState_OwnSizePolicy)) {
        setSizePolicy(sizePolicy().transposed());
        setAttribute(Qt::WA_WState_OwnSizePolicy, false);
    }
    updateGeometry();
    update();
}

bool CZelRangeControl::invertedAppearance() const { return d_ptr->invertedAppearance; }

void CZelRangeControl::setInvertedAppearance(bool inverted)
{
    d_ptr->invertedAppearance = inverted;
    update();
}

bool CZelRangeControl::invertedControls() const { return d_ptr->invertedControls; }
void CZelRangeControl::setInvertedControls(bool inverted) { d_ptr->invertedControls = inverted; }
bool CZelRangeControl::hasTracking() const { return d_ptr->tracking; }
void CZelRangeControl::setTracking(bool tracking) { d_ptr->tracking = tracking; }
bool CZelRangeControl::wrapping() const { return d_ptr->wrapping; }

void CZelRangeControl::setWrapping(bool wrapping)
{
    d_ptr->wrapping = wrapping;
    update();
}

bool CZelRangeControl::isSliderDown() const { return d_ptr->sliderDown; }

void CZelRangeControl::setSliderDown(bool down)
{
    if (d_ptr->sliderDown == down)
        return;
    d_ptr->sliderDown = down;
    if (down) {
        emit pressed();
        return;
    }
    emit released();
    emit actionTriggered(Move);
    setValue(d_ptr->value);
}

int CZelRangeControl::signalMask() const { return d_ptr->signalMask; }
void CZelRangeControl::setSignalMask(int mask) { d_ptr->signalMask = mask; }
void CZelRangeControl::setValueSpec(const CZelValueSpec *spec) { d_ptr->spec = spec; }
const CZelValueSpec *CZelRangeControl::valueSpec() const { return d_ptr->spec; }

void CZelRangeControl::setValue(int value)
{
    value = d_ptr->bound(value);
    if (value == d_ptr->value)
        return;
    d_ptr->value = value;
    QAccessibleValueChangeEvent event(this, value);
    QAccessible::updateAccessibility(&event);
    sliderChange(ValueChange);
    const float position = d_ptr->normalized(value);
    if (d_ptr->signalMask & ValueSignal)
        emit valueChanged(value);
    if ((d_ptr->signalMask & SpecSignal) && d_ptr->spec) {
        const float specValue = d_ptr->spec->map(position);
        if (specValue != d_ptr->lastSpecValue) {
            d_ptr->lastSpecValue = specValue;
            emit valueFromSpecChanged(specValue);
        }
    }
    if (d_ptr->signalMask & NormalizedSignal)
        emit valueNormalizedChanged(position);
}

void CZelRangeControl::setValueNormalized(float value)
{
    const double f = std::clamp(double(value), 0.0, 1.0);
    const double span = double(d_ptr->maximum) - d_ptr->minimum;
    setValue(int(d_ptr->minimum + std::floor(f * span + 0.5)));
}

void CZelRangeControl::setValueFromSpec(float value)
{
    const CZelValueSpec *spec = d_ptr->spec;
    if (!spec)
        return;
    const float clamped =
        std::clamp(value, std::min(spec->minimum, spec->maximum), std::max(spec->minimum, spec->maximum));
    setValueNormalized(spec->unmap(clamped));
}

void CZelRangeControl::triggerAction(int action)
{
    const int target = d_ptr->actionValue(action);
    emit actionTriggered(action);
    setValue(target);
}

void CZelRangeControl::setRepeatAction(int action, int thresholdTime, int repeatTime)
{
    d_ptr->repeatAction = action;
    if (action == NoAction) {
        d_ptr->repeatTimer.stop();
        return;
    }
    d_ptr->repeatTime = repeatTime;
    d_ptr->repeatDelay = thresholdTime;
    d_ptr->repeatTimer.start(thresholdTime, this);
}

int CZelRangeControl::repeatAction() const { return d_ptr->repeatAction; }

void CZelRangeControl::sliderChange(int) { update(); }

void CZelRangeControl::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != d_ptr->repeatTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (d_ptr->repeatDelay >= 0 && d_ptr->repeatTime != d_ptr->repeatDelay) {
        d_ptr->repeatTimer.start(d_ptr->repeatTime, this);
        d_ptr->repeatDelay = -1;
    }
    triggerAction(d_ptr->repeatAction);
}

void CZelRangeControl::keyPressEvent(QKeyEvent *event)
{
    const bool appearance = d_ptr->invertedAppearance;
    const bool controls = d_ptr->invertedControls;
    int action = NoAction;
    switch (event->key()) {
    case Qt::Key_Home:
        action = ToMinimum;
        break;
    case Qt::Key_End:
        action = ToMaximum;
        break;
    case Qt::Key_Left:
        action = appearance ? SingleStepAdd : SingleStepSub;
        break;
    case Qt::Key_Right:
        action = appearance ? SingleStepSub : SingleStepAdd;
        break;
    case Qt::Key_Up:
        action = controls ? SingleStepSub : SingleStepAdd;
        break;
    case Qt::Key_Down:
        action = controls ? SingleStepAdd : SingleStepSub;
        break;
    case Qt::Key_PageUp:
        action = controls ? PageStepSub : PageStepAdd;
        break;
    case Qt::Key_PageDown:
        action = controls ? PageStepAdd : PageStepSub;
        break;
    default:
        event->ignore();
        return;
    }
    triggerAction(action);
}

void CZelRangeControl::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const Qt::Orientation wheelOrientation = std::abs(angle.x()) > std::abs(angle.y()) ? Qt::Horizontal : Qt::Vertical;
    if (wheelOrientation != d_ptr->orientation && !rect().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    const int delta = wheelOrientation == Qt::Horizontal ? angle.x() : angle.y();
    const bool fine = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const qint64 step =
        fine ? d_ptr->fourthStep
             : std::min<qint64>(d_ptr->pageStep, qint64(QApplication::wheelScrollLines()) * d_ptr->thirdStep);
    if (lastWheelControl() != this) {
        lastWheelControl() = this;
        d_ptr->wheelAccumulator = 0;
    }
    d_ptr->wheelAccumulator += (d_ptr->invertedControls ? -1 : 1) * step * delta;
    const qint64 whole = d_ptr->wheelAccumulator / 120;
    if (whole != 0) {
        d_ptr->wheelAccumulator -= whole * 120;
        setValue(d_ptr->bound(qint64(d_ptr->value) + whole));
    }
    event->accept();
}

void CZelRangeControl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        d_ptr->repeatTimer.stop();
        setSliderDown(false);
    }
    QWidget::changeEvent(event);
}

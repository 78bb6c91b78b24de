#include "editor/skin/CZelDial.h"

#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSkinnedSlider_p.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

class CZelDialPrivate : public CZelSkinnedSliderPrivate
{
public:
    CZelDialPrivate() : CZelSkinnedSliderPrivate(QStyle::CC_Dial) {}
    CZelStyleOptionSlider option() const override;

    qreal notchTarget = 3.7;
    bool notchesVisible = false;
};

CZelStyleOptionSlider CZelDialPrivate::option() const
{
    auto *dial = static_cast<const CZelDial *>(q);
    CZelStyleOptionSlider option;
    option.initFrom(q);
    option.minimum = minimum;
    option.maximum = maximum;
    option.sliderPosition = value;
    option.sliderValue = value;
    option.singleStep = singleStep;
    option.pageStep = pageStep;
    option.upsideDown = !invertedAppearance;
    option.notchTarget = notchTarget;
    option.dialWrapping = wrapping;
    option.orientation = orientation;
    option.subControls = QStyle::SC_DialGroove | QStyle::SC_DialHandle;
    if (notchesVisible) {
        option.subControls |= QStyle::SC_DialTickmarks;
        option.tickInterval = dial->notchSize();
    }
    fillState(option);
    return option;
}

CZelDial::CZelDial(QWidget *parent) : CZelRangeControl(*new CZelDialPrivate, parent) { setFocusPolicy(Qt::WheelFocus); }

CZelDial::~CZelDial() = default;

CZelDialPrivate *CZelDial::d_func() { return static_cast<CZelDialPrivate *>(d_ptr.get()); }
const CZelDialPrivate *CZelDial::d_func() const { return static_cast<const CZelDialPrivate *>(d_ptr.get()); }

QString CZelDial::trackKey() const { return d_func()->keys[0]; }
QString CZelDial::thumbKey() const { return d_func()->keys[1]; }

void CZelDial::setTrackKey(const QString &key) { d_func()->setKey(0, key); }

void CZelDial::setThumbKey(const QString &key) { d_func()->setKey(1, key); }

bool CZelDial::notchesVisible() const { return d_func()->notchesVisible; }

void CZelDial::setNotchesVisible(bool visible)
{
    d_func()->notchesVisible = visible;
    update();
}

qreal CZelDial::notchTarget() const { return d_func()->notchTarget; }

void CZelDial::setNotchTarget(qreal target)
{
    d_func()->notchTarget = target;
    update();
}

int CZelDial::notchSize() const
{
    const CZelDialPrivate *d = d_func();
    const int radius = std::min(width(), height()) / 2;
    qint64 arc = qint64(radius * (d->wrapping ? 6 : 5) * M_PI / 6);
    const qint64 range = qint64(d->maximum) - d->minimum;
    if (d->maximum > qint64(d->minimum) + d->pageStep && range > 0)
        arc = arc * d->pageStep / range;
    const int pageStep = d->pageStep == 0 ? 1 : d->pageStep;
    const qint64 singleStepArc = std::max<qint64>(1, arc * d->singleStep / pageStep);
    const int notches = std::max(1, int(std::floor(d->notchTarget / double(singleStepArc) + 0.5)));
    return d->singleStep * notches;
}

int CZelDial::valueFromPoint(const QPoint &point) const
{
    const CZelDialPrivate *d = d_func();
    const double yy = height() / 2.0 - point.y();
    const double xx = point.x() - width() / 2.0;
    double a = (xx != 0.0 || yy != 0.0) ? std::atan2(yy, xx) : 0.0;
    if (a < -M_PI / 2)
        a += 2 * M_PI;
    // A negative range is shifted to start at 0 and shifted back.
    const qint64 shift = d->minimum < 0 ? -qint64(d->minimum) : 0;
    const double minimum = double(d->minimum + shift);
    const double range = double(d->maximum) - d->minimum;
    // In half turns, so that the quarter angles divide exactly: straight up
    // on a 0..127 dial is exactly 63.5 and rounds up.
    const double t = a / M_PI;
    const double raw = d->wrapping ? minimum + range * (1.5 - t) / 2 : minimum + range * (4 - 3 * t) / 5;
    const qint64 v = qint64(std::floor(raw + 0.5)) - shift;
    return d->bound(v);
}

QSize CZelDial::sizeHint() const
{
    QSize size(25, 25);
    if (qobject_cast<const CZelRenderStyle *>(style())) {
        const QSize natural = d_func()->naturalSize();
        size = QSize(natural.width() < 0 ? 25 : natural.width(), natural.height() < 0 ? 25 : natural.height());
    }
    return size;
}

QSize CZelDial::minimumSizeHint() const { return sizeHint(); }

bool CZelDial::event(QEvent *event)
{
    d_func()->hoverEvent(event);
    return CZelRangeControl::event(event);
}

void CZelDial::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const StyleSliderOption option(d_func()->option(), style());
    style()->drawComplexControl(QStyle::CC_Dial, option.get(), &painter, this);
}

void CZelDial::mousePressEvent(QMouseEvent *event)
{
    CZelDialPrivate *d = d_func();
    if (d->maximum == d->minimum || event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    setValue(valueFromPoint(event->position().toPoint()));
    setSliderDown(true);
    d->pressedControl = QStyle::SC_DialHandle;
    update();
}

void CZelDial::mouseMoveEvent(QMouseEvent *event)
{
    if (!d_func()->tracking || !(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    event->accept();
    setValue(valueFromPoint(event->position().toPoint()));
}

void CZelDial::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton || d_func()->pressedControl == QStyle::SC_None) {
        event->ignore();
        return;
    }
    event->accept();
    setValue(valueFromPoint(event->position().toPoint()));
    setSliderDown(false);
    d_func()->pressedControl = QStyle::SC_None;
    update();
}

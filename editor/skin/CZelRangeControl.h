#pragma once

#include <QWidget>

#include <memory>

struct CZelValueSpec;
class CZelRangeControlPrivate;

// The value model of the skinned dial and slider: range, value, four step
// sizes, actions, keys, wheel and repeat, and an optional value scale
// (CZelValueSpec) that maps the position to physical units.
class CZelRangeControl : public QWidget
{
    Q_OBJECT

public:
    // Action numbers of actionTriggered().
    enum Action {
        NoAction = 0,
        SingleStepSub = 1,
        SingleStepAdd = 2,
        PageStepSub = 3,
        PageStepAdd = 4,
        ThirdStepSub = 5,
        ThirdStepAdd = 6,
        FourthStepSub = 7,
        FourthStepAdd = 8,
        ToMinimum = 9,
        ToMaximum = 10,
        Move = 11
    };
    // Codes of the slider-change hook.
    enum Change { RangeChange = 1, ValueChange = 2 };
    // Bits of the signal mask.
    enum SignalBit { ValueSignal = 1, SpecSignal = 2, NormalizedSignal = 4 };

    explicit CZelRangeControl(QWidget *parent = nullptr);
    ~CZelRangeControl() override;

    int minimum() const;
    int maximum() const;
    void setRange(int minimum, int maximum);
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    int value() const;
    int singleStep() const;
    void setSingleStep(int step);
    int pageStep() const;
    void setPageStep(int step);
    int thirdStep() const;
    void setThirdStep(int step);
    int fourthStep() const;
    void setFourthStep(int step);
    Qt::Orientation orientation() const;
    void setOrientation(Qt::Orientation orientation);
    bool invertedAppearance() const;
    void setInvertedAppearance(bool inverted);
    bool invertedControls() const;
    void setInvertedControls(bool inverted);
    bool hasTracking() const;
    void setTracking(bool tracking);
    bool wrapping() const;
    void setWrapping(bool wrapping);
    bool isSliderDown() const;
    void setSliderDown(bool down);
    int signalMask() const;
    void setSignalMask(int mask);
    // The value scale is owned by the caller and must outlive the control.
    void setValueSpec(const CZelValueSpec *spec);
    const CZelValueSpec *valueSpec() const;

    void triggerAction(int action);
    // Repeats action after thresholdTime ms every repeatTime ms; 0 stops.
    void setRepeatAction(int action, int thresholdTime = 500, int repeatTime = 50);
    int repeatAction() const;

public slots:
    void setValue(int value);
    void setValueFromSpec(float value);
    void setValueNormalized(float value);

signals:
    void rangeChanged(int minimum, int maximum);
    void valueChanged(int value);
    void valueFromSpecChanged(float value);
    void valueNormalizedChanged(float value);
    void pressed();
    void released();
    void actionTriggered(int action);

protected:
    explicit CZelRangeControl(CZelRangeControlPrivate &dd, QWidget *parent);
    virtual void sliderChange(int change);

    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;

    std::unique_ptr<CZelRangeControlPrivate> d_ptr;
};

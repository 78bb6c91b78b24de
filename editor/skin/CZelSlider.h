#pragma once

#include "editor/skin/CZelRangeControl.h"

class CZelSliderPrivate;

// A linear control painted by two render descriptions: the groove (for the
// wheels a film strip) and the handle. A new slider is vertical.
class CZelSlider : public CZelRangeControl
{
    Q_OBJECT

public:
    enum ClickBehaviour { JumpToClick = 0, StepTowardsClick = 1 };
    enum TickPosition {
        NoTicks = 0,
        TicksAbove = 1,
        TicksLeft = TicksAbove,
        TicksBelow = 2,
        TicksRight = TicksBelow,
        TicksBothSides = 3
    };

    explicit CZelSlider(QWidget *parent = nullptr);
    ~CZelSlider() override;

    QString grooveKey() const;
    QString handleKey() const;
    void setGrooveKey(const QString &key);
    void setHandleKey(const QString &key);
    int clickBehaviour() const;
    void setClickBehaviour(int behaviour);
    int tickPosition() const;
    void setTickPosition(int position);
    int tickInterval() const;
    void setTickInterval(int interval);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void sliderChange(int change) override;

private:
    CZelSliderPrivate *d_func();
    const CZelSliderPrivate *d_func() const;
};

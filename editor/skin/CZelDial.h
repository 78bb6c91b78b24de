#pragma once

#include "editor/skin/CZelRangeControl.h"

#include <QStyle>

class CZelDialPrivate;

// A rotary control painted by two render descriptions: the track (a film
// strip of the knob) and the thumb.
class CZelDial : public CZelRangeControl
{
    Q_OBJECT

public:
    explicit CZelDial(QWidget *parent = nullptr);
    ~CZelDial() override;

    QString trackKey() const;
    QString thumbKey() const;
    // Name the render descriptions; with the render style installed the dial
    // takes the larger natural size of the two.
    void setTrackKey(const QString &key);
    void setThumbKey(const QString &key);
    bool notchesVisible() const;
    void setNotchesVisible(bool visible);
    qreal notchTarget() const;
    void setNotchTarget(qreal target);
    int notchSize() const;
    // The value under a point of the widget.
    int valueFromPoint(const QPoint &point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    CZelDialPrivate *d_func();
    const CZelDialPrivate *d_func() const;
};

#pragma once

#include "CZelRangeControl_p.h"
#include "CZelStyleOptions.h"

#include <QRect>
#include <QSize>
#include <QStyle>

class QWidget;

// State the dial and the slider share on top of the range control: two
// description keys, the pressed and hovered sub-controls.
class CZelSkinnedSliderPrivate : public CZelRangeControlPrivate
{
public:
    // The larger natural size of the two descriptions; -1 where neither fixes it.
    QSize naturalSize() const;
    // Fixes the widget's size to naturalSize() when the render style is installed.
    void applyNaturalSize();
    // Tracks the hovered sub-control; true when it changed.
    bool updateHover(QStyle::ComplexControl control, const QStyleOptionComplex &option, const QPoint &point);

    QString keys[2];
    QStyle::SubControl pressedControl = QStyle::SC_None;
    QStyle::SubControl hoverControl = QStyle::SC_None;
    QRect hoverRect;
};

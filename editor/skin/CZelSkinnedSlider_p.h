#pragma once

#include "editor/skin/CZelCommonStyle.h"
#include "editor/skin/CZelRangeControl_p.h"
#include "editor/skin/CZelStyleOptions.h"

#include <QEvent>
#include <QRect>
#include <QSize>
#include <QStyle>

class QWidget;

// A slider option as the installed style reads it: with its description keys
// for the styles of this library, as the toolkit's own option for any other.
class StyleSliderOption
{
public:
    StyleSliderOption(const CZelStyleOptionSlider &keyed, const QStyle *style)
        : m_keyed(keyed), m_plain(keyed.plain()), m_keyedStyle(qobject_cast<const CZelCommonStyle *>(style))
    {
    }
    StyleSliderOption(const StyleSliderOption &) = delete;
    StyleSliderOption &operator=(const StyleSliderOption &) = delete;

    const QStyleOptionSlider *get() const { return m_keyedStyle ? &m_keyed : &m_plain; }
    const QStyleOptionSlider *operator->() const { return get(); }

private:
    const CZelStyleOptionSlider m_keyed;
    const QStyleOptionSlider m_plain;
    const bool m_keyedStyle;
};

// State the dial and the slider share on top of the range control: two
// description keys, the pressed and hovered sub-controls.
class CZelSkinnedSliderPrivate : public CZelRangeControlPrivate
{
public:
    // control: CC_Dial or CC_Slider, what the style draws and hit-tests.
    explicit CZelSkinnedSliderPrivate(QStyle::ComplexControl control) : control(control) {}

    // The widget's style option as it is now.
    virtual CZelStyleOptionSlider option() const = 0;
    // The part of the option this class holds: the pressed or hovered
    // sub-control with its state, and the description keys.
    void fillState(CZelStyleOptionSlider &option) const;
    // The larger natural size of the two descriptions; -1 where neither fixes it.
    QSize naturalSize() const;
    // Fixes the widget's size to naturalSize() when the render style is installed.
    void applyNaturalSize();
    // Sets description key 0 (track, groove) or 1 (thumb, handle) and refits the widget.
    void setKey(int index, const QString &key);
    // On a hover event, tracks the hovered sub-control; other events pass.
    void hoverEvent(const QEvent *event);

    const QStyle::ComplexControl control;
    std::array<QString, 2> keys;
    QStyle::SubControl pressedControl = QStyle::SC_None;
    QStyle::SubControl hoverControl = QStyle::SC_None;
    QRect hoverRect;

private:
    void updateHover(const QPoint &point);
};

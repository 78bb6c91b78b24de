#pragma once

#include "editor/skin/CZelCommonStyle.h"
#include "editor/skin/CZelRangeControl_p.h"
#include "editor/skin/CZelStyleOptions.h"

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
    // The larger natural size of the two descriptions; -1 where neither fixes it.
    QSize naturalSize() const;
    // Fixes the widget's size to naturalSize() when the render style is installed.
    void applyNaturalSize();
    // Sets description key 0 (track, groove) or 1 (thumb, handle) and refits the widget.
    void setKey(int index, const QString &key);
    // Tracks the hovered sub-control; true when it changed.
    bool updateHover(QStyle::ComplexControl control, const QStyleOptionComplex &option, const QPoint &point);

    std::array<QString, 2> keys;
    QStyle::SubControl pressedControl = QStyle::SC_None;
    QStyle::SubControl hoverControl = QStyle::SC_None;
    QRect hoverRect;
};

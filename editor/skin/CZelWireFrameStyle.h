#pragma once

#include "editor/skin/CZelCommonStyle.h"

// The common style with its own grey standard palette and empty scroll-bar
// pages.
class CZelWireFrameStyle : public CZelCommonStyle
{
    Q_OBJECT

public:
    CZelWireFrameStyle();
    ~CZelWireFrameStyle() override;

    QPalette standardPalette() const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

#include "editor/skin/CZelWireFrameStyle.h"

#include <QPalette>

CZelWireFrameStyle::CZelWireFrameStyle() = default;
CZelWireFrameStyle::~CZelWireFrameStyle() = default;

QPalette CZelWireFrameStyle::standardPalette() const
{
    const QColor gray(Qt::gray);
    QPalette palette;
    const auto fill = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &color) {
        palette.setBrush(group, role, QBrush(color));
    };
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? gray.darker(200) : QColor(Qt::black);
        fill(group, QPalette::Window, gray);
        fill(group, QPalette::WindowText, text);
        fill(group, QPalette::Base, disabled ? gray : QColor(Qt::white));
        fill(group, QPalette::AlternateBase, QColor(Qt::white).darker(110));
        fill(group, QPalette::Text, text);
        fill(group, QPalette::BrightText, Qt::white);
        fill(group, QPalette::Button, gray);
        fill(group, QPalette::ButtonText, text);
        fill(group, QPalette::Highlight, Qt::darkBlue);
        fill(group, QPalette::HighlightedText, Qt::white);
        fill(group, QPalette::Link, Qt::blue);
        fill(group, QPalette::LinkVisited, Qt::magenta);
        fill(group, QPalette::Light, gray.lighter(150));
        fill(group, QPalette::Dark, gray.darker(200));
        fill(group, QPalette::Midlight, gray.lighter(125));
        fill(group, QPalette::Mid, gray.darker(150));
        fill(group, QPalette::Shadow, Qt::black);
    }
    return palette;
}

void CZelWireFrameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    switch (element) {
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
    case CE_ScrollBarFirst:
    case CE_ScrollBarLast:
        return;
    default:
        CZelCommonStyle::drawControl(element, option, painter, widget);
    }
}

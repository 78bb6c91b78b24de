#pragma once

#include "editor/skin/CZelWireFrameStyle.h"

#include <memory>

class CZelSkinEngine;
class CZelSkinStylePrivate;

// The wire-frame style with widget polishing and the per-widget descriptions
// of the skin engine.
class CZelSkinStyle : public CZelWireFrameStyle
{
    Q_OBJECT

public:
    explicit CZelSkinStyle(CZelSkinEngine *engine);
    ~CZelSkinStyle() override;

    CZelSkinEngine *engine() const;

    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using CZelWireFrameStyle::polish;
    using CZelWireFrameStyle::unpolish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;

private:
    bool paintWidgetDescription(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;

    std::unique_ptr<CZelSkinStylePrivate> d;
};

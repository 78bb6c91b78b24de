#pragma once

#include "editor/skin/CZelSkinStyle.h"

class CZelNode;
class CZelRenderDescription;

// The style of the editor's skinned widgets: an option that carries a
// description key is painted with that description; everything else falls
// back to the skin style.
class CZelRenderStyle : public CZelSkinStyle
{
    Q_OBJECT

public:
    explicit CZelRenderStyle(CZelSkinEngine *engine);
    ~CZelRenderStyle() override;

    bool addRenderDescription(const QString &key, const CZelNode &node);
    CZelRenderDescription *description(const QString &key) const;

    void paint(QPainter *painter, const CZelRenderDescription *description, const QRect &target, float position,
               bool normal, bool pressed, bool disabled, bool on, bool mid) const;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
                                     const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

private:
    void drawKeyedButton(ControlElement element, const QStyleOption *option, QPainter *painter,
                         const QWidget *widget) const;
    void drawKeyedSlider(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                         const QWidget *widget) const;
};

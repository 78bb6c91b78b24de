#pragma once

#include <QStyle>

class QStyleOptionSlider;

// A complete style of its own, written directly on QStyle, in a flat
// shaded-frame look built from CZelPaintUtilities. Requests outside the
// handled element ranges write a warning and return neutral values.
class CZelCommonStyle : public QStyle
{
    Q_OBJECT

public:
    CZelCommonStyle();
    ~CZelCommonStyle() override;

    void polish(QPalette &palette) override;
    void polish(QApplication *application) override;
    void polish(QWidget *widget) override;
    void unpolish(QApplication *application) override;
    void unpolish(QWidget *widget) override;
    QPalette standardPalette() const override;

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
    QPixmap standardPixmap(StandardPixmap pixmap, const QStyleOption *option = nullptr,
                           const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap, const QStyleOption *option) const override;
    int layoutSpacing(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2, Qt::Orientation orientation,
                      const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;

    // The dial's handle position for a slider option (also used by the tests).
    static QRect dialHandleRect(const QStyleOptionSlider *option, int sliderLength);
    // The slider option behind option, plain or carrying description keys, so
    // that the geometry of keyed sliders asks the metrics with their keys.
    static const QStyleOptionSlider *sliderOption(const QStyleOption *option);

private:
    // Element families, one file each.
    void drawFramePrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const;
    void drawIndicatorPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const;
    void drawButtonControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const;
    void drawMenuControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                         const QWidget *widget) const;
    void drawItemControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                         const QWidget *widget) const;
    void drawSlider(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const;
    void drawDial(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const;
    void drawScrollBar(const QStyleOptionSlider *option, QPainter *painter, const QWidget *widget) const;
    void drawSpinBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawToolButton(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    QRect sliderSubControlRect(const QStyleOptionSlider *option, SubControl subControl, const QWidget *widget) const;
    QRect scrollBarSubControlRect(const QStyleOptionSlider *option, SubControl subControl, const QWidget *widget) const;
    QRect spinBoxSubControlRect(const QStyleOptionComplex *option, SubControl subControl, const QWidget *widget) const;
    QRect titleBarSubControlRect(const QStyleOptionComplex *option, SubControl subControl, const QWidget *widget) const;
    int sliderMetric(PixelMetric metric, const QStyleOption *option) const;
};

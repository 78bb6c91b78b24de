// Entry points of CZelCommonStyle that answer with numbers: metrics, hints,
// sizes, pixmaps, polishing. Drawing lives in the CZelCommonStyle*.cpp files
// of each element family.
#include "editor/skin/CZelCommonStyle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

using Metric = QStyle::PixelMetric;

// Metrics with one fixed value; the computed ones are answered in code.
constexpr std::pair<Metric, int> FixedMetrics[] = {
    {QStyle::PM_ButtonMargin, 2},
    {QStyle::PM_DefaultFrameWidth, 2},
    {QStyle::PM_MenuBarPanelWidth, 2},
    {QStyle::PM_SpinBoxSliderHeight, 2},
    {QStyle::PM_FocusFrameVMargin, 2},
    {QStyle::PM_FocusFrameHMargin, 2},
    {QStyle::PM_ButtonDefaultIndicator, 1},
    {QStyle::PM_DockWidgetFrameWidth, 1},
    {QStyle::PM_TabBarTabShiftVertical, 1},
    {QStyle::PM_ToolBarFrameWidth, 1},
    {QStyle::PM_ToolTipLabelFrameWidth, 1},
    {QStyle::PM_ExclusiveIndicatorWidth, 12},
    {QStyle::PM_ExclusiveIndicatorHeight, 12},
    {QStyle::PM_ToolBarExtensionExtent, 12},
    {QStyle::PM_MaximumDragDistance, 60},
    {QStyle::PM_SliderThickness, 16},
    {QStyle::PM_TabBarScrollButtonWidth, 16},
    {QStyle::PM_SmallIconSize, 16},
    {QStyle::PM_ScrollBarSliderMin, 9},
    {QStyle::PM_ProgressBarChunkWidth, 9},
    {QStyle::PM_SliderLength, 11},
    {QStyle::PM_DockWidgetSeparatorExtent, 6},
    {QStyle::PM_MenuTearoffHeight, 6},
    {QStyle::PM_ToolBarSeparatorExtent, 6},
    {QStyle::PM_LayoutHorizontalSpacing, 6},
    {QStyle::PM_LayoutVerticalSpacing, 6},
    {QStyle::PM_DockWidgetHandleExtent, 8},
    {QStyle::PM_ToolBarHandleExtent, 8},
    {QStyle::PM_TabBarTabOverlap, 3},
    {QStyle::PM_TabBarTabHSpace, 24},
    {QStyle::PM_MenuScrollerHeight, 10},
    {QStyle::PM_IndicatorWidth, 13},
    {QStyle::PM_IndicatorHeight, 13},
    {QStyle::PM_DialogButtonsSeparator, 5},
    {QStyle::PM_DialogButtonsButtonWidth, 70},
    {QStyle::PM_DialogButtonsButtonHeight, 30},
    {QStyle::PM_MdiSubWindowFrameWidth, 4},
    {QStyle::PM_HeaderMargin, 4},
    {QStyle::PM_HeaderGripMargin, 4},
    {QStyle::PM_ToolBarItemSpacing, 4},
    {QStyle::PM_MdiSubWindowMinimizedWidth, 196},
    {QStyle::PM_HeaderMarkSize, 32},
    {QStyle::PM_LargeIconSize, 32},
};

// Metrics newer widgets ask on every paint, answered quietly so that the
// handled-range warning keeps its meaning.
constexpr std::pair<Metric, int> NewerMetrics[] = {
    {QStyle::PM_ButtonIconSize, 16},
    {QStyle::PM_TextCursorWidth, 1},
    {QStyle::PM_LineEditIconSize, 16},
    {QStyle::PM_LineEditIconMargin, 4},
};

// Metrics that equal another metric.
constexpr std::pair<Metric, Metric> AliasMetrics[] = {
    {QStyle::PM_SpinBoxFrameWidth, QStyle::PM_DefaultFrameWidth},
    {QStyle::PM_ComboBoxFrameWidth, QStyle::PM_DefaultFrameWidth},
    {QStyle::PM_TabBarBaseHeight, QStyle::PM_DefaultFrameWidth},
    {QStyle::PM_TabBarBaseOverlap, QStyle::PM_DefaultFrameWidth},
    {QStyle::PM_MenuPanelWidth, QStyle::PM_DefaultFrameWidth},
    {QStyle::PM_ToolBarIconSize, QStyle::PM_SmallIconSize},
    {QStyle::PM_ListViewIconSize, QStyle::PM_SmallIconSize},
    {QStyle::PM_IconViewIconSize, QStyle::PM_LargeIconSize},
};

using Hint = QStyle::StyleHint;

constexpr std::pair<Hint, int> FixedHints[] = {
    {QStyle::SH_EtchDisabledText, 1},
    {QStyle::SH_ScrollBar_ScrollWhenPointerLeavesControl, 1},
    {QStyle::SH_TabBar_Alignment, 1},
    {QStyle::SH_Header_ArrowAlignment, 1},
    {QStyle::SH_Slider_SnapToValue, 1},
    {QStyle::SH_PrintDialog_RightAlignButtons, 1},
    {QStyle::SH_MainWindow_SpaceBelowMenuBar, 1},
    {QStyle::SH_FontDialog_SelectAssociatedText, 1},
    {QStyle::SH_Menu_AllowActiveAndDisabled, 1},
    {QStyle::SH_MenuBar_AltKeyNavigation, 1},
    {QStyle::SH_ComboBox_ListMouseTracking, 1},
    {QStyle::SH_Menu_MouseTracking, 1},
    {QStyle::SH_MenuBar_MouseTracking, 1},
    {QStyle::SH_ItemView_ChangeHighlightOnFocus, 1},
    {QStyle::SH_Slider_StopMouseOverSlider, 1},
    {QStyle::SH_BlinkCursorWhenTextSelected, 1},
    {QStyle::SH_TabBar_PreferNoArrows, 1},
    {QStyle::SH_UnderlineShortcut, 1},
    {QStyle::SH_Menu_FillScreenWithScroll, 1},
    {QStyle::SH_TitleBar_ModifyNotification, 1},
    {QStyle::SH_SpinControls_DisableOnBounds, 1},
    {QStyle::SH_TabBar_SelectMouseType, QEvent::MouseButtonRelease},
    {QStyle::SH_ProgressDialog_TextLabelAlignment, Qt::AlignCenter},
    {QStyle::SH_Menu_SubMenuPopupDelay, 256},
    {QStyle::SH_GroupBox_TextLabelVerticalAlignment, Qt::AlignVCenter},
    {QStyle::SH_LineEdit_PasswordCharacter, '*'},
    {QStyle::SH_SpinBox_KeyPressAutoRepeatRate, 75},
    {QStyle::SH_SpinBox_ClickAutoRepeatRate, 150},
    {QStyle::SH_ToolTipLabel_Opacity, 255},
    {QStyle::SH_Button_FocusPolicy, Qt::StrongFocus},
    {QStyle::SH_ToolButton_PopupDelay, 600},
    {QStyle::SH_Dial_BackgroundRole, QPalette::Window},
    {QStyle::SH_ItemView_EllipsisLocation, Qt::AlignRight},
    {QStyle::SH_SpinBox_ButtonsInsideFrame, 1},
    // Hints of newer widgets that a normal run asks (tooltips, combo box
    // pop-ups, spin boxes, menus, wheels): the toolkit's own defaults.
    {QStyle::SH_ToolTip_WakeUpDelay, 700},
    {QStyle::SH_ToolTip_FallAsleepDelay, 2000},
    {QStyle::SH_Splitter_OpaqueResize, 1},
    {QStyle::SH_TabBar_ChangeCurrentDelay, 500},
    {QStyle::SH_Menu_SubMenuUniDirectionFailCount, 1},
    {QStyle::SH_Menu_SubMenuSloppySelectOtherActions, 1},
    {QStyle::SH_Menu_SubMenuSloppyCloseTimeout, 1000},
    {QStyle::SH_TitleBar_ShowToolTipsOnButtons, 1},
    {QStyle::SH_ComboBox_AllowWheelScrolling, 1},
    {QStyle::SH_SpinBox_StepModifier, Qt::ControlModifier},
    {QStyle::SH_TabBar_AllowWheelScrolling, 1},
    {QStyle::SH_SpinBox_SelectOnStep, 1},
};

// Hints that newer widgets ask on every construction; answered quietly with
// the neutral value so that the handled-range warning keeps its meaning.
constexpr Hint QuietHints[] = {
    QStyle::SH_LineEdit_PasswordMaskDelay,
    QStyle::SH_Widget_Animation_Duration,
    QStyle::SH_Widget_Animate,
    QStyle::SH_RequestSoftwareInputPanel,
    QStyle::SH_ToolButtonStyle,
    QStyle::SH_Menu_SupportsSections,
    QStyle::SH_ScrollBar_Transient,
    QStyle::SH_ComboBox_UseNativePopup,
    QStyle::SH_Menu_SubMenuUniDirection,
    QStyle::SH_Menu_SubMenuResetWhenReenteringParent,
    QStyle::SH_Menu_SubMenuDontStartSloppyOnLeave,
    QStyle::SH_ItemView_ScrollMode,
    QStyle::SH_Table_AlwaysDrawLeftTopGridLines,
};

template <typename Table, typename Key>
auto lookup(const Table &table, Key key) -> const decltype(table[0].second) *
{
    for (const auto &entry : table) {
        if (entry.first == key)
            return &entry.second;
    }
    return nullptr;
}

bool isLayoutMargin(Metric metric)
{
    return metric == QStyle::PM_LayoutLeftMargin || metric == QStyle::PM_LayoutTopMargin ||
           metric == QStyle::PM_LayoutRightMargin || metric == QStyle::PM_LayoutBottomMargin;
}

QRegion frameMask(const QRect &rect, int horizontal, int vertical)
{
    return QRegion(rect).subtracted(QRegion(rect.adjusted(horizontal, vertical, -horizontal, -vertical)));
}

} // namespace

CZelCommonStyle::CZelCommonStyle() = default;
CZelCommonStyle::~CZelCommonStyle() = default;

void CZelCommonStyle::polish(QPalette &palette) { QStyle::polish(palette); }
void CZelCommonStyle::polish(QApplication *application) { QStyle::polish(application); }
void CZelCommonStyle::polish(QWidget *widget) { QStyle::polish(widget); }
void CZelCommonStyle::unpolish(QApplication *application) { QStyle::unpolish(application); }
void CZelCommonStyle::unpolish(QWidget *widget) { QStyle::unpolish(widget); }
QPalette CZelCommonStyle::standardPalette() const { return QStyle::standardPalette(); }

int CZelCommonStyle::sliderMetric(PixelMetric metric, const QStyleOption *option) const
{
    const auto *slider = sliderOption(option);
    if (!slider)
        return 0;
    const bool horizontal = slider->orientation == Qt::Horizontal;
    const int space = horizontal ? slider->rect.height() : slider->rect.width();
    const int sides =
        (slider->tickPosition & QSlider::TicksAbove ? 1 : 0) + (slider->tickPosition & QSlider::TicksBelow ? 1 : 0);
    switch (metric) {
    case PM_SliderControlThickness: {
        if (sides == 0)
            return space;
        int thick = 6;
        if (sides == 1)
            thick += proxy()->pixelMetric(PM_SliderLength, option) / 4;
        const int remainder = space - thick;
        return remainder > 0 ? thick + remainder * 2 / (sides + 2) : thick;
    }
    case PM_SliderTickmarkOffset: {
        const int remainder = space - proxy()->pixelMetric(PM_SliderControlThickness, option);
        if (slider->tickPosition == QSlider::TicksBothSides)
            return (remainder + 1) / 2;
        if (slider->tickPosition == QSlider::TicksAbove)
            return remainder;
        return 0;
    }
    case PM_SliderSpaceAvailable:
        return (horizontal ? slider->rect.width() : slider->rect.height()) -
               proxy()->pixelMetric(PM_SliderLength, option) + 1;
    default:
        return 0;
    }
}

int CZelCommonStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (const int *value = lookup(FixedMetrics, metric))
        return *value;
    if (const int *value = lookup(NewerMetrics, metric))
        return *value;
    if (const Metric *alias = lookup(AliasMetrics, metric))
        return proxy()->pixelMetric(*alias, option, widget);
    if (isLayoutMargin(metric))
        return widget && widget->isWindow() ? 11 : 9;
    switch (metric) {
    case PM_MenuButtonIndicator:
        if (option && (option->rect.height() - 3) / 3 > 12)
            return (option->rect.height() - 3) / 3;
        return 12;
    case PM_ScrollBarExtent:
        // Qt 6 has no global strut, so the extent is the fixed minimum.
        return 16;
    case PM_SliderControlThickness:
    case PM_SliderTickmarkOffset:
    case PM_SliderSpaceAvailable:
        return sliderMetric(metric, option);
    case PM_TabBarTabVSpace: {
        const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
        return tab && tab->shape <= QTabBar::RoundedEast ? 8 : 0;
    }
    case PM_TitleBarHeight: {
        const auto *title = qstyleoption_cast<const QStyleOptionTitleBar *>(option);
        if (!title)
            return 18;
        const int spacing = widget ? widget->fontMetrics().lineSpacing() : title->fontMetrics.lineSpacing();
        if (title->titleBarFlags & Qt::Tool)
            return std::max(16, spacing);
        if (widget && widget->inherits("QDockWidget"))
            return std::max(13, spacing);
        return std::max(18, spacing);
    }
    default:
        break;
    }
    if (metric <= PM_ToolTipLabelFrameWidth)
        return 0;
    qWarning("CZelCommonStyle::pixelMetric(%d) not handled", int(metric));
    return 0;
}

int CZelCommonStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                               QStyleHintReturn *returnData) const
{
    if (const int *value = lookup(FixedHints, hint))
        return *value;
    switch (hint) {
    case SH_Table_GridLineColor:
        return option ? int(option->palette.color(QPalette::Mid).rgb()) : -1;
    case SH_FocusFrame_Mask: {
        if (auto *mask = qstyleoption_cast<QStyleHintReturnMask *>(returnData)) {
            const QRect rect = widget ? widget->rect() : (option ? option->rect : QRect());
            mask->region = frameMask(rect, proxy()->pixelMetric(PM_FocusFrameHMargin, option, widget),
                                     proxy()->pixelMetric(PM_FocusFrameVMargin, option, widget));
        }
        return 1;
    }
    case SH_RubberBand_Mask: {
        const auto *band = qstyleoption_cast<const QStyleOptionRubberBand *>(option);
        if (!band || band->shape != QRubberBand::Rectangle)
            return 0;
        if (auto *mask = qstyleoption_cast<QStyleHintReturnMask *>(returnData)) {
            const int margin = 2 * proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
            mask->region = frameMask(band->rect, margin, margin);
        }
        return 1;
    }
    case SH_ComboBox_LayoutDirection:
        return option ? option->direction : Qt::LeftToRight;
    case SH_DialogButtons_DefaultButton:
    case SH_ListViewExpand_SelectMouseType:
        break;
    default:
        if (hint <= SH_ItemView_ActivateItemOnSingleClick ||
            std::find(std::begin(QuietHints), std::end(QuietHints), hint) != std::end(QuietHints))
            return 0;
        break;
    }
    qWarning("CZelCommonStyle::styleHint(%d) not handled", int(hint));
    return 0;
}

QSize CZelCommonStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                                        const QWidget *widget) const
{
    QSize size = contentsSize;
    const int frame = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
    switch (type) {
    case CT_PushButton: {
        const int margin = proxy()->pixelMetric(PM_ButtonMargin, option, widget) + 2 * frame;
        size += QSize(margin + 8, margin);
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (button && (button->features & QStyleOptionButton::AutoDefaultButton)) {
            const int indicator = 2 * proxy()->pixelMetric(PM_ButtonDefaultIndicator, option, widget);
            size += QSize(indicator, indicator);
        }
        return size;
    }
    case CT_CheckBox:
    case CT_RadioButton: {
        const bool check = type == CT_CheckBox;
        const int w = proxy()->pixelMetric(check ? PM_IndicatorWidth : PM_ExclusiveIndicatorWidth, option, widget);
        const int h = proxy()->pixelMetric(check ? PM_IndicatorHeight : PM_ExclusiveIndicatorHeight, option, widget);
        const int spacing = size.isEmpty() ? 0 : 6;
        return QSize(size.width() + w + spacing, std::max(size.height(), h));
    }
    case CT_ToolButton:
        return size + QSize(6, 5);
    case CT_ComboBox:
        return size + QSize(2 * frame + 20, 2 * frame + 2);
    case CT_MenuItem: {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (item && item->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(size.width(), 6);
        return QSize(size.width() + 36 + (item ? item->reservedShortcutWidth : 0), std::max(size.height() + 6, 20));
    }
    case CT_MenuBarItem:
        return size + QSize(12, 6);
    case CT_TabBarTab:
        return size + QSize(proxy()->pixelMetric(PM_TabBarTabHSpace, option, widget),
                            proxy()->pixelMetric(PM_TabBarTabVSpace, option, widget));
    case CT_LineEdit:
    case CT_SpinBox:
        return size + QSize(2 * frame, 2 * frame);
    case CT_TabWidget:
    case CT_SizeGrip:
        return size + QSize(4, 4);
    case CT_HeaderSection: {
        const int margin = proxy()->pixelMetric(PM_HeaderMargin, option, widget);
        return size + QSize(2 * margin, 2 * margin);
    }
    case CT_Splitter:
    case CT_ProgressBar:
    case CT_MenuBar:
    case CT_Menu:
    case CT_Slider:
    case CT_ScrollBar:
    case CT_DialogButtons:
        return size;
    default:
        break;
    }
    qWarning("CZelCommonStyle::sizeFromContents(%d) not handled", int(type));
    return {};
}

namespace {

// A small line-art pixmap drawn on transparent ground.
QPixmap drawnPixmap(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.6));
    draw(painter);
    return pixmap;
}

QPixmap arrowPixmap(qreal angle)
{
    return drawnPixmap([angle](QPainter &p) {
        p.translate(8, 8);
        p.rotate(angle);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(-4, 2), QPointF(4, 2), QPointF(0, -3)}));
    });
}

} // namespace

QPixmap CZelCommonStyle::standardPixmap(StandardPixmap pixmap, const QStyleOption *, const QWidget *) const
{
    switch (pixmap) {
    case SP_TitleBarCloseButton:
    case SP_DockWidgetCloseButton:
        return drawnPixmap([](QPainter &p) {
            p.drawLine(QPointF(4, 4), QPointF(12, 12));
            p.drawLine(QPointF(12, 4), QPointF(4, 12));
        });
    case SP_TitleBarMinButton:
        return drawnPixmap([](QPainter &p) { p.drawLine(QPointF(4, 12), QPointF(12, 12)); });
    case SP_TitleBarMaxButton:
        return drawnPixmap([](QPainter &p) { p.drawRect(QRectF(3.5, 3.5, 9, 9)); });
    case SP_TitleBarNormalButton:
        return drawnPixmap([](QPainter &p) {
            p.drawRect(QRectF(3.5, 6.5, 6, 6));
            p.drawPolyline(QPolygonF(
                {QPointF(6.5, 6.5), QPointF(6.5, 3.5), QPointF(12.5, 3.5), QPointF(12.5, 9.5), QPointF(9.5, 9.5)}));
        });
    case SP_TitleBarShadeButton:
    case SP_ArrowUp:
        return arrowPixmap(0);
    case SP_TitleBarUnshadeButton:
    case SP_ArrowDown:
        return arrowPixmap(180);
    case SP_ArrowLeft:
    case SP_ArrowBack:
        return arrowPixmap(270);
    case SP_ArrowRight:
    case SP_ArrowForward:
    case SP_ToolBarHorizontalExtensionButton:
        return arrowPixmap(90);
    case SP_ToolBarVerticalExtensionButton:
        return arrowPixmap(180);
    default:
        break;
    }
    qWarning("CZelCommonStyle::standardPixmap(%d) not handled", int(pixmap));
    return {};
}

QIcon CZelCommonStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    const QPixmap pixmap = proxy()->standardPixmap(icon, option, widget);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QPixmap CZelCommonStyle::generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap, const QStyleOption *) const
{
    if (mode != QIcon::Disabled)
        return pixmap;
    // Disabled icons: grey and half transparent.
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int gray = qGray(line[x]);
            line[x] = qRgba(gray, gray, gray, qAlpha(line[x]) / 2);
        }
    }
    return QPixmap::fromImage(image);
}

int CZelCommonStyle::layoutSpacing(QSizePolicy::ControlType, QSizePolicy::ControlType, Qt::Orientation orientation,
                                   const QStyleOption *option, const QWidget *widget) const
{
    return proxy()->pixelMetric(orientation == Qt::Horizontal ? PM_LayoutHorizontalSpacing : PM_LayoutVerticalSpacing,
                                option, widget);
}

// CZelCommonStyle: control elements and sub-element rectangles.
#include "editor/skin/CZelCommonStyle.h"

#include "editor/skin/CZelPaintUtilities.h"

#include <QFrame>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <iterator>

using namespace CZelPaintUtilities;

namespace {

// A frame of the toolkit's frame widgets (labels among them), drawn with the
// shade helpers the way the frame widget itself used to draw it.
void drawShapedFrame(const QStyleOption *option, QPainter *painter)
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    if (!frame || frame->frameShape == QFrame::NoFrame)
        return;
    const bool sunken = frame->state & QStyle::State_Sunken;
    const bool raised = frame->state & QStyle::State_Raised;
    const int width = qMax(frame->lineWidth, 1);
    const QRect r = frame->rect;
    switch (frame->frameShape) {
    case QFrame::HLine:
    case QFrame::VLine: {
        const bool horizontal = frame->frameShape == QFrame::HLine;
        const QPoint p1 = horizontal ? QPoint(r.left(), r.center().y()) : QPoint(r.center().x(), r.top());
        const QPoint p2 = horizontal ? QPoint(r.right(), r.center().y()) : QPoint(r.center().x(), r.bottom());
        if (sunken || raised)
            drawShadeLine(painter, p1, p2, frame->palette, sunken, width, frame->midLineWidth);
        else
            painter->fillRect(horizontal ? QRect(r.left(), r.center().y(), r.width(), width)
                                         : QRect(r.center().x(), r.top(), width, r.height()),
                              frame->palette.windowText());
        return;
    }
    case QFrame::Panel:
    case QFrame::StyledPanel:
    case QFrame::WinPanel:
        drawShadePanel(painter, r, frame->palette, sunken, width);
        return;
    default:
        if (sunken || raised)
            drawShadeRect(painter, r, frame->palette, sunken, width, frame->midLineWidth);
        else
            drawPlainRect(painter, r, frame->palette.windowText().color(), width);
        return;
    }
}

} // namespace

void CZelCommonStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    if (!option || !painter)
        return;
    switch (element) {
    case CE_PushButton:
    case CE_PushButtonBevel:
    case CE_PushButtonLabel:
    case CE_CheckBox:
    case CE_CheckBoxLabel:
    case CE_RadioButton:
    case CE_RadioButtonLabel:
    case CE_ToolButtonLabel:
    case CE_ToolBoxTab:
    case CE_ComboBoxLabel:
        drawButtonControl(element, option, painter, widget);
        return;
    case CE_MenuItem:
    case CE_MenuScroller:
    case CE_MenuVMargin:
    case CE_MenuHMargin:
    case CE_MenuTearoff:
    case CE_MenuEmptyArea:
    case CE_MenuBarItem:
    case CE_MenuBarEmptyArea:
        drawMenuControl(element, option, painter, widget);
        return;
    case CE_TabBarTab:
    case CE_TabBarTabShape:
    case CE_TabBarTabLabel:
    case CE_ProgressBar:
    case CE_ProgressBarGroove:
    case CE_ProgressBarContents:
    case CE_ProgressBarLabel:
    case CE_Header:
    case CE_HeaderSection:
    case CE_HeaderLabel:
    case CE_SizeGrip:
    case CE_Splitter:
    case CE_RubberBand:
    case CE_DockWidgetTitle:
    case CE_ScrollBarAddLine:
    case CE_ScrollBarSubLine:
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
    case CE_ScrollBarSlider:
    case CE_ScrollBarFirst:
    case CE_ScrollBarLast:
    case CE_FocusFrame:
        drawItemControl(element, option, painter, widget);
        return;
    case CE_ShapedFrame:
        drawShapedFrame(option, painter);
        return;
    default:
        qWarning("CZelCommonStyle::drawControl(%d) not handled", int(element));
        return;
    }
}

namespace {

// The element helpers draw through the style's proxy, as the entry points do.
using Style = QStyle;

void drawFocusFrame(const Style *style, Style::SubElement area, const QStyleOption *option, QPainter *painter,
                    const QWidget *widget)
{
    if (!(option->state & Style::State_HasFocus))
        return;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(*option);
    focus.rect = style->subElementRect(area, option, widget);
    style->drawPrimitive(Style::PE_FrameFocusRect, &focus, painter, widget);
}

void fillPanel(QPainter *painter, const QStyleOption *option, const QRect &rect, bool sunken,
               QPalette::ColorRole role = QPalette::Button, int lineWidth = 1)
{
    const QBrush fill = option->palette.brush(role);
    drawShadePanel(painter, rect, option->palette, sunken, lineWidth, &fill);
}

void drawText(const Style *style, QPainter *painter, const QStyleOption *option, const QRect &rect, int alignment,
              const QString &text, QPalette::ColorRole role)
{
    style->drawItemText(painter, rect, alignment, option->palette, option->state & Style::State_Enabled, text, role);
}

// Buttons

void drawPushButton(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    style->drawControl(Style::CE_PushButtonBevel, option, painter, widget);
    if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
        QStyleOptionButton label = *button;
        label.rect = style->subElementRect(Style::SE_PushButtonContents, option, widget);
        style->drawControl(Style::CE_PushButtonLabel, &label, painter, widget);
    }
    drawFocusFrame(style, Style::SE_PushButtonFocusRect, option, painter, widget);
}

void drawPushButtonBevel(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    const auto features = button ? button->features : QStyleOptionButton::ButtonFeatures();
    if ((features & QStyleOptionButton::Flat) && !(option->state & Style::State_Sunken))
        return;
    QStyleOption panel = *option;
    if (features & QStyleOptionButton::DefaultButton) {
        style->drawPrimitive(Style::PE_FrameDefaultButton, option, painter, widget);
        const int indicator = style->pixelMetric(Style::PM_ButtonDefaultIndicator, option, widget);
        panel.rect = option->rect.adjusted(indicator, indicator, -indicator, -indicator);
    }
    style->drawPrimitive(Style::PE_PanelButtonCommand, &panel, painter, widget);
    if (features & QStyleOptionButton::HasMenu) {
        const int size = style->pixelMetric(Style::PM_MenuButtonIndicator, option, widget);
        QStyleOption arrow = *option;
        arrow.rect = QRect(option->rect.right() - size - 4, option->rect.top(), size, option->rect.height());
        style->drawPrimitive(Style::PE_IndicatorArrowDown, &arrow, painter, widget);
    }
}

// What a push, tool or combo box button shows.
struct ButtonContents {
    QString text;
    QIcon icon;
    QSize iconSize;
};

ButtonContents buttonContents(const QStyleOption *option)
{
    if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
        return {button->text, button->icon, button->iconSize};
    if (const auto *tool = qstyleoption_cast<const QStyleOptionToolButton *>(option))
        return {tool->text, tool->icon, tool->iconSize};
    if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option))
        return {combo->currentText, combo->currentIcon, combo->iconSize};
    return {};
}

// The icon on the left of the text, or centred without text; the text keeps
// the rest of the rectangle. False when nothing is left to write.
bool drawButtonIcon(const Style *style, const ButtonContents &contents, const QStyleOption *option, QPainter *painter,
                    QRect &rect)
{
    if (contents.icon.isNull())
        return true;
    const bool enabled = option->state & Style::State_Enabled;
    const QPixmap pixmap = contents.icon.pixmap(contents.iconSize, enabled ? QIcon::Normal : QIcon::Disabled);
    if (contents.text.isEmpty()) {
        style->drawItemPixmap(painter, rect, Qt::AlignCenter, pixmap);
        return false;
    }
    style->drawItemPixmap(painter, rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, pixmap);
    rect.setLeft(rect.left() + contents.iconSize.width() + 8);
    return true;
}

void drawButtonLabel(const Style *style, Style::ControlElement element, const QStyleOption *option, QPainter *painter)
{
    const ButtonContents contents = buttonContents(option);
    QRect rect = option->rect;
    if (option->state & (Style::State_Sunken | Style::State_On))
        rect.translate(1, 1);
    if (!drawButtonIcon(style, contents, option, painter, rect))
        return;
    const int alignment = element == Style::CE_ComboBoxLabel ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    drawText(style, painter, option, rect, alignment | Qt::TextShowMnemonic, contents.text, QPalette::ButtonText);
}

void drawCheckOrRadio(const Style *style, bool check, const QStyleOption *option, QPainter *painter,
                      const QWidget *widget)
{
    QStyleOption indicator = *option;
    indicator.rect =
        style->subElementRect(check ? Style::SE_CheckBoxIndicator : Style::SE_RadioButtonIndicator, option, widget);
    style->drawPrimitive(check ? Style::PE_IndicatorCheckBox : Style::PE_IndicatorRadioButton, &indicator, painter,
                         widget);
    if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
        QStyleOptionButton label = *button;
        label.rect =
            style->subElementRect(check ? Style::SE_CheckBoxContents : Style::SE_RadioButtonContents, option, widget);
        style->drawControl(check ? Style::CE_CheckBoxLabel : Style::CE_RadioButtonLabel, &label, painter, widget);
    }
    drawFocusFrame(style, check ? Style::SE_CheckBoxFocusRect : Style::SE_RadioButtonFocusRect, option, painter,
                   widget);
}

void drawCheckLabel(const Style *style, const QStyleOption *option, QPainter *painter)
{
    if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
        drawText(style, painter, option, option->rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                 button->text, QPalette::WindowText);
}

void drawToolBoxTab(const Style *style, const QStyleOption *option, QPainter *painter)
{
    const auto *tab = qstyleoption_cast<const QStyleOptionToolBox *>(option);
    if (!tab)
        return;
    fillPanel(painter, option, option->rect, option->state & Style::State_Selected);
    drawText(style, painter, option, option->rect.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tab->text,
             QPalette::ButtonText);
}

// Menus

void drawMenuItemText(const Style *style, const QStyleOptionMenuItem *item, QPainter *painter, QPalette::ColorRole role)
{
    QString text = item->text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QRect textRect = item->rect.adjusted(22, 0, -8, 0);
    if (tab >= 0) {
        drawText(style, painter, item, textRect, Qt::AlignRight | Qt::AlignVCenter, text.mid(tab + 1), role);
        text.truncate(tab);
    }
    drawText(style, painter, item, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text, role);
}

void drawMenuCheck(const Style *style, const QStyleOptionMenuItem *item, QPainter *painter, const QWidget *widget)
{
    if (item->checkType == QStyleOptionMenuItem::NotCheckable)
        return;
    const QRect &r = item->rect;
    QStyleOptionMenuItem mark = *item;
    mark.rect = QRect(r.left() + 4, r.top() + (r.height() - 12) / 2, 12, 12);
    mark.state = item->state | (item->checked ? Style::State_On : Style::State_Off);
    style->drawPrimitive(Style::PE_IndicatorMenuCheckMark, &mark, painter, widget);
}

void drawMenuItem(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!item)
        return;
    const QRect &r = option->rect;
    painter->fillRect(r, option->palette.brush(QPalette::Window));
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        drawShadeLine(painter, QPoint(r.left() + 4, r.center().y()), QPoint(r.right() - 4, r.center().y()),
                      option->palette, true, 1, 0);
        return;
    }
    const bool selected = (option->state & Style::State_Selected) && (option->state & Style::State_Enabled);
    if (selected)
        painter->fillRect(r, option->palette.brush(QPalette::Highlight));
    drawMenuCheck(style, item, painter, widget);
    drawMenuItemText(style, item, painter, selected ? QPalette::HighlightedText : QPalette::WindowText);
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = *option;
        arrow.rect = QRect(r.right() - 14, r.top(), 10, r.height());
        style->drawPrimitive(Style::PE_IndicatorArrowRight, &arrow, painter, widget);
    }
}

void drawMenuBarItem(const Style *style, const QStyleOption *option, QPainter *painter)
{
    const bool selected =
        (option->state & (Style::State_Selected | Style::State_Sunken)) && (option->state & Style::State_Enabled);
    if (selected)
        painter->fillRect(option->rect, option->palette.brush(QPalette::Highlight));
    if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option))
        drawText(style, painter, option, option->rect, Qt::AlignCenter | Qt::TextShowMnemonic, item->text,
                 selected ? QPalette::HighlightedText : QPalette::WindowText);
}

void drawMenuScroller(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    painter->fillRect(option->rect, option->palette.brush(QPalette::Button));
    QStyleOption arrow = *option;
    style->drawPrimitive(option->state & Style::State_DownArrow ? Style::PE_IndicatorArrowDown
                                                                : Style::PE_IndicatorArrowUp,
                         &arrow, painter, widget);
}

void drawMenuTearoff(const QStyleOption *option, QPainter *painter)
{
    const QRect &r = option->rect;
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Dark), 1, Qt::DashLine));
    painter->drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
    painter->restore();
}

// Tabs, progress bars and headers

void drawTabShape(const QStyleOption *option, QPainter *painter)
{
    const bool selected = option->state & Style::State_Selected;
    fillPanel(painter, option, selected ? option->rect : option->rect.adjusted(0, 2, 0, 0), false,
              selected ? QPalette::Window : QPalette::Button);
}

void drawTabLabel(const Style *style, const QStyleOption *option, QPainter *painter)
{
    if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option))
        drawText(style, painter, option, option->rect, Qt::AlignCenter | Qt::TextShowMnemonic, tab->text,
                 QPalette::WindowText);
}

void drawProgressBar(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (!bar)
        return;
    QStyleOptionProgressBar part = *bar;
    part.rect = style->subElementRect(Style::SE_ProgressBarGroove, option, widget);
    style->drawControl(Style::CE_ProgressBarGroove, &part, painter, widget);
    part.rect = style->subElementRect(Style::SE_ProgressBarContents, option, widget);
    style->drawControl(Style::CE_ProgressBarContents, &part, painter, widget);
    if (bar->textVisible) {
        part.rect = style->subElementRect(Style::SE_ProgressBarLabel, option, widget);
        style->drawControl(Style::CE_ProgressBarLabel, &part, painter, widget);
    }
}

void drawProgressContents(const QStyleOption *option, QPainter *painter)
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (!bar)
        return;
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    const qint64 done = qint64(bar->progress) - bar->minimum;
    if (range <= 0 || done <= 0)
        return;
    QRect filled = option->rect.adjusted(2, 2, -2, -2);
    if (bar->state & Style::State_Horizontal)
        filled.setWidth(int(filled.width() * std::min(done, range) / range));
    else
        filled.setTop(filled.bottom() - int(filled.height() * std::min(done, range) / range));
    painter->fillRect(filled, option->palette.brush(QPalette::Highlight));
}

// The part of the text over the chunk is drawn in the highlighted colour.
void drawProgressLabel(const Style *style, const QStyleOption *option, QPainter *painter)
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (!bar)
        return;
    const QRect &r = option->rect;
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    const qint64 done = std::clamp<qint64>(qint64(bar->progress) - bar->minimum, 0, std::max<qint64>(range, 0));
    const int split = range > 0 ? r.left() + 2 + int((r.width() - 4) * done / range) : r.left();
    painter->save();
    painter->setClipRect(QRect(r.left(), r.top(), split - r.left(), r.height()));
    drawText(style, painter, option, r, Qt::AlignCenter, bar->text, QPalette::HighlightedText);
    painter->setClipRect(QRect(split, r.top(), r.right() - split + 1, r.height()));
    drawText(style, painter, option, r, Qt::AlignCenter, bar->text, QPalette::Text);
    painter->restore();
}

void drawHeader(const Style *style, const QStyleOption *option, QPainter *painter, const QWidget *widget)
{
    const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
    if (!header)
        return;
    style->drawControl(Style::CE_HeaderSection, option, painter, widget);
    QStyleOptionHeader label = *header;
    label.rect = style->subElementRect(Style::SE_HeaderLabel, option, widget);
    style->drawControl(Style::CE_HeaderLabel, &label, painter, widget);
    if (header->sortIndicator != QStyleOptionHeader::None) {
        label.rect = style->subElementRect(Style::SE_HeaderArrow, option, widget);
        style->drawPrimitive(Style::PE_IndicatorHeaderArrow, &label, painter, widget);
    }
}

void drawHeaderLabel(const Style *style, const QStyleOption *option, QPainter *painter)
{
    if (const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option))
        drawText(style, painter, option, option->rect, int(header->textAlignment) | Qt::AlignVCenter, header->text,
                 QPalette::ButtonText);
}

// Frames, grips and scroll bars

void drawSizeGrip(const QStyleOption *option, QPainter *painter)
{
    const QRect &r = option->rect;
    painter->save();
    for (int i = 4; i < std::min(r.width(), r.height()); i += 4) {
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawLine(r.right() - i, r.bottom(), r.right(), r.bottom() - i);
        painter->setPen(option->palette.color(QPalette::Dark));
        painter->drawLine(r.right() - i + 1, r.bottom(), r.right(), r.bottom() - i + 1);
    }
    painter->restore();
}

void drawSplitter(const QStyleOption *option, QPainter *painter)
{
    const QRect &r = option->rect;
    painter->fillRect(r, option->palette.brush(QPalette::Window));
    if (option->state & Style::State_Horizontal)
        drawShadeLine(painter, QPoint(r.center().x(), r.top() + 2), QPoint(r.center().x(), r.bottom() - 2),
                      option->palette);
    else
        drawShadeLine(painter, QPoint(r.left() + 2, r.center().y()), QPoint(r.right() - 2, r.center().y()),
                      option->palette);
}

void drawRubberBand(const QStyleOption *option, QPainter *painter)
{
    QColor fill = option->palette.color(QPalette::Highlight);
    fill.setAlpha(60);
    const QBrush brush(fill);
    drawPlainRect(painter, option->rect, option->palette.color(QPalette::Highlight), 1, &brush);
}

void drawDockTitle(const Style *style, const QStyleOption *option, QPainter *painter)
{
    const auto *dock = qstyleoption_cast<const QStyleOptionDockWidget *>(option);
    if (!dock)
        return;
    fillPanel(painter, option, option->rect, false);
    drawText(style, painter, option, option->rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, dock->title,
             QPalette::ButtonText);
}

void drawScrollBarLine(const Style *style, bool add, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget)
{
    fillPanel(painter, option, option->rect, option->state & Style::State_Sunken);
    const bool horizontal = option->state & Style::State_Horizontal;
    QStyleOption arrow = *option;
    arrow.rect = option->rect.adjusted(3, 3, -3, -3);
    style->drawPrimitive(horizontal ? (add ? Style::PE_IndicatorArrowRight : Style::PE_IndicatorArrowLeft)
                                    : (add ? Style::PE_IndicatorArrowDown : Style::PE_IndicatorArrowUp),
                         &arrow, painter, widget);
}

void drawScrollBarPage(const QStyleOption *option, QPainter *painter)
{
    painter->fillRect(option->rect,
                      option->palette.brush(option->state & Style::State_Sunken ? QPalette::Dark : QPalette::Mid));
}

} // namespace

void CZelCommonStyle::drawButtonControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                        const QWidget *widget) const
{
    switch (element) {
    case CE_PushButton:
        drawPushButton(proxy(), option, painter, widget);
        return;
    case CE_PushButtonBevel:
        drawPushButtonBevel(proxy(), option, painter, widget);
        return;
    case CE_PushButtonLabel:
    case CE_ToolButtonLabel:
    case CE_ComboBoxLabel:
        drawButtonLabel(proxy(), element, option, painter);
        return;
    case CE_CheckBox:
    case CE_RadioButton:
        drawCheckOrRadio(proxy(), element == CE_CheckBox, option, painter, widget);
        return;
    case CE_CheckBoxLabel:
    case CE_RadioButtonLabel:
        drawCheckLabel(proxy(), option, painter);
        return;
    case CE_ToolBoxTab:
        drawToolBoxTab(proxy(), option, painter);
        return;
    default:
        return;
    }
}

void CZelCommonStyle::drawMenuControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    switch (element) {
    case CE_MenuItem:
        drawMenuItem(proxy(), option, painter, widget);
        return;
    case CE_MenuBarItem:
        drawMenuBarItem(proxy(), option, painter);
        return;
    case CE_MenuScroller:
        drawMenuScroller(proxy(), option, painter, widget);
        return;
    case CE_MenuTearoff:
        drawMenuTearoff(option, painter);
        return;
    case CE_MenuVMargin:
    case CE_MenuHMargin:
    case CE_MenuEmptyArea:
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, option->palette.brush(QPalette::Window));
        return;
    default:
        return;
    }
}

void CZelCommonStyle::drawItemControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const QRect &r = option->rect;
    switch (element) {
    case CE_TabBarTab:
        proxy()->drawControl(CE_TabBarTabShape, option, painter, widget);
        proxy()->drawControl(CE_TabBarTabLabel, option, painter, widget);
        return;
    case CE_TabBarTabShape:
        drawTabShape(option, painter);
        return;
    case CE_TabBarTabLabel:
        drawTabLabel(proxy(), option, painter);
        return;
    case CE_ProgressBar:
        drawProgressBar(proxy(), option, painter, widget);
        return;
    case CE_ProgressBarGroove:
        fillPanel(painter, option, r, true, QPalette::Base);
        return;
    case CE_ProgressBarContents:
        drawProgressContents(option, painter);
        return;
    case CE_ProgressBarLabel:
        drawProgressLabel(proxy(), option, painter);
        return;
    case CE_Header:
        drawHeader(proxy(), option, painter, widget);
        return;
    case CE_HeaderSection:
        fillPanel(painter, option, r, option->state & State_Sunken);
        return;
    case CE_HeaderLabel:
        drawHeaderLabel(proxy(), option, painter);
        return;
    case CE_SizeGrip:
        drawSizeGrip(option, painter);
        return;
    case CE_Splitter:
        drawSplitter(option, painter);
        return;
    case CE_RubberBand:
        drawRubberBand(option, painter);
        return;
    case CE_DockWidgetTitle:
        drawDockTitle(proxy(), option, painter);
        return;
    case CE_ScrollBarAddLine:
    case CE_ScrollBarSubLine:
        drawScrollBarLine(proxy(), element == CE_ScrollBarAddLine, option, painter, widget);
        return;
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
        drawScrollBarPage(option, painter);
        return;
    case CE_ScrollBarSlider:
        fillPanel(painter, option, r, false, QPalette::Button, 2);
        return;
    case CE_ScrollBarFirst:
    case CE_ScrollBarLast:
        painter->fillRect(r, option->palette.brush(QPalette::Mid));
        return;
    case CE_FocusFrame:
        painter->fillRect(r, option->palette.brush(QPalette::WindowText));
        return;
    default:
        return;
    }
}

namespace {

// Sub-elements that take the option's whole rectangle (layout items among them).
constexpr QStyle::SubElement WholeRectElements[] = {
    QStyle::SE_CheckBoxClickRect,     QStyle::SE_RadioButtonClickRect, QStyle::SE_SliderFocusRect,
    QStyle::SE_ProgressBarGroove,     QStyle::SE_ProgressBarContents,  QStyle::SE_ProgressBarLabel,
    QStyle::SE_TabWidgetTabContents,  QStyle::SE_ToolBoxTabContents,   QStyle::SE_TabWidgetTabPane,
    QStyle::SE_TabWidgetTabBar,       QStyle::SE_CheckBoxLayoutItem,   QStyle::SE_RadioButtonLayoutItem,
    QStyle::SE_PushButtonLayoutItem,  QStyle::SE_SliderLayoutItem,     QStyle::SE_ComboBoxLayoutItem,
    QStyle::SE_SpinBoxLayoutItem,     QStyle::SE_ToolButtonLayoutItem, QStyle::SE_LabelLayoutItem,
    QStyle::SE_ProgressBarLayoutItem, QStyle::SE_FrameLayoutItem,      QStyle::SE_GroupBoxLayoutItem,
    QStyle::SE_TabWidgetLayoutItem,
};

// Sub-elements inset by the default frame width on every side.
constexpr QStyle::SubElement FrameInsetElements[] = {QStyle::SE_LineEditContents, QStyle::SE_FrameContents,
                                                     QStyle::SE_ShapedFrameContents};

template <std::size_t N>
bool isOneOf(QStyle::SubElement element, const QStyle::SubElement (&elements)[N])
{
    return std::find(std::begin(elements), std::end(elements), element) != std::end(elements);
}

QRect indicatorRect(const QStyle *style, bool check, const QStyleOption *option, const QWidget *widget)
{
    const QRect &r = option->rect;
    const int w =
        style->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, option, widget);
    const int h =
        style->pixelMetric(check ? QStyle::PM_IndicatorHeight : QStyle::PM_ExclusiveIndicatorHeight, option, widget);
    return QStyle::visualRect(option->direction, r, QRect(r.left(), r.top() + (r.height() - h) / 2, w, h));
}

QRect indicatorContentsRect(const QStyle *style, bool check, const QStyleOption *option, const QWidget *widget)
{
    const QRect &r = option->rect;
    const int w =
        style->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, option, widget);
    return QStyle::visualRect(option->direction, r, r.adjusted(w + 6, 0, 0, 0));
}

QRect headerArrowRect(const QRect &r)
{
    const int size = std::min(r.height() - 4, 12);
    return QRect(r.right() - size - 4, r.top() + (r.height() - size) / 2, size, size);
}

} // namespace

QRect CZelCommonStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    if (!option)
        return {};
    const QRect &r = option->rect;
    if (isOneOf(element, WholeRectElements))
        return r;
    const int frame = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
    if (isOneOf(element, FrameInsetElements))
        return r.adjusted(frame, frame, -frame, -frame);
    switch (element) {
    case SE_PushButtonContents: {
        const int margin = frame + proxy()->pixelMetric(PM_ButtonMargin, option, widget) / 2;
        return r.adjusted(margin, margin, -margin, -margin);
    }
    case SE_PushButtonFocusRect:
        return r.adjusted(frame + 1, frame + 1, -frame - 1, -frame - 1);
    case SE_CheckBoxIndicator:
    case SE_RadioButtonIndicator:
        return indicatorRect(proxy(), element == SE_CheckBoxIndicator, option, widget);
    case SE_CheckBoxContents:
    case SE_RadioButtonContents:
        return indicatorContentsRect(proxy(), element == SE_CheckBoxContents, option, widget);
    case SE_CheckBoxFocusRect:
    case SE_RadioButtonFocusRect:
        return proxy()
            ->subElementRect(element == SE_CheckBoxFocusRect ? SE_CheckBoxContents : SE_RadioButtonContents, option,
                             widget)
            .adjusted(-2, 0, 0, 0);
    case SE_HeaderLabel: {
        const int margin = proxy()->pixelMetric(PM_HeaderMargin, option, widget);
        return r.adjusted(margin, 0, -margin, 0);
    }
    case SE_HeaderArrow:
        return headerArrowRect(r);
    default:
        qWarning("CZelCommonStyle::subElementRect(%d) not handled", int(element));
        return {};
    }
}

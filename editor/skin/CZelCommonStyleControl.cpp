// CZelCommonStyle: control elements and sub-element rectangles.
#include "editor/skin/CZelCommonStyle.h"

#include "editor/skin/CZelPaintUtilities.h"

#include <QPainter>
#include <QStyleOption>

using namespace CZelPaintUtilities;

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
    default:
        qWarning("CZelCommonStyle::drawControl(%d) not handled", int(element));
        return;
    }
}

void CZelCommonStyle::drawButtonControl(ControlElement element, const QStyleOption *option,
                                        QPainter *painter, const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    const bool enabled = option->state & State_Enabled;
    switch (element) {
    case CE_PushButton: {
        proxy()->drawControl(CE_PushButtonBevel, option, painter, widget);
        QStyleOptionButton label;
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            label = *button;
            label.rect = proxy()->subElementRect(SE_PushButtonContents, option, widget);
            proxy()->drawControl(CE_PushButtonLabel, &label, painter, widget);
        }
        if (option->state & State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*option);
            focus.rect = proxy()->subElementRect(SE_PushButtonFocusRect, option, widget);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
        return;
    }
    case CE_PushButtonBevel: {
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (button && (button->features & QStyleOptionButton::Flat) && !(option->state & State_Sunken))
            return;
        QStyleOption panel = *option;
        if (button && (button->features & QStyleOptionButton::DefaultButton)) {
            proxy()->drawPrimitive(PE_FrameDefaultButton, option, painter, widget);
            const int indicator = proxy()->pixelMetric(PM_ButtonDefaultIndicator, option, widget);
            panel.rect = option->rect.adjusted(indicator, indicator, -indicator, -indicator);
        }
        proxy()->drawPrimitive(PE_PanelButtonCommand, &panel, painter, widget);
        if (button && (button->features & QStyleOptionButton::HasMenu)) {
            const int size = proxy()->pixelMetric(PM_MenuButtonIndicator, option, widget);
            QStyleOption arrow = *option;
            arrow.rect = QRect(option->rect.right() - size - 4, option->rect.top(), size, option->rect.height());
            proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
        }
        return;
    }
    case CE_PushButtonLabel:
    case CE_ToolButtonLabel:
    case CE_ComboBoxLabel: {
        QString text;
        QIcon icon;
        QSize iconSize;
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            text = button->text, icon = button->icon, iconSize = button->iconSize;
        } else if (const auto *tool = qstyleoption_cast<const QStyleOptionToolButton *>(option)) {
            text = tool->text, icon = tool->icon, iconSize = tool->iconSize;
        } else if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
            text = combo->currentText, icon = combo->currentIcon, iconSize = combo->iconSize;
        }
        QRect rect = option->rect;
        if (option->state & (State_Sunken | State_On))
            rect.translate(1, 1);
        if (!icon.isNull()) {
            const QPixmap pixmap = icon.pixmap(iconSize, enabled ? QIcon::Normal : QIcon::Disabled);
            if (text.isEmpty()) {
                proxy()->drawItemPixmap(painter, rect, Qt::AlignCenter, pixmap);
                return;
            }
            proxy()->drawItemPixmap(painter, rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, pixmap);
            rect.setLeft(rect.left() + iconSize.width() + 8);
        }
        const int alignment = element == CE_ComboBoxLabel ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
        proxy()->drawItemText(painter, rect, alignment | Qt::TextShowMnemonic, pal, enabled, text,
                              QPalette::ButtonText);
        return;
    }
    case CE_CheckBox:
    case CE_RadioButton: {
        const bool check = element == CE_CheckBox;
        QStyleOption indicator = *option;
        indicator.rect = proxy()->subElementRect(check ? SE_CheckBoxIndicator : SE_RadioButtonIndicator,
                                                 option, widget);
        proxy()->drawPrimitive(check ? PE_IndicatorCheckBox : PE_IndicatorRadioButton, &indicator, painter,
                               widget);
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            QStyleOptionButton label = *button;
            label.rect = proxy()->subElementRect(check ? SE_CheckBoxContents : SE_RadioButtonContents,
                                                 option, widget);
            proxy()->drawControl(check ? CE_CheckBoxLabel : CE_RadioButtonLabel, &label, painter, widget);
        }
        if (option->state & State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*option);
            focus.rect = proxy()->subElementRect(check ? SE_CheckBoxFocusRect : SE_RadioButtonFocusRect,
                                                 option, widget);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
        return;
    }
    case CE_CheckBoxLabel:
    case CE_RadioButtonLabel:
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
            proxy()->drawItemText(painter, option->rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                                  pal, enabled, button->text, QPalette::WindowText);
        return;
    case CE_ToolBoxTab:
        if (const auto *tab = qstyleoption_cast<const QStyleOptionToolBox *>(option)) {
            const QBrush fill = pal.brush(QPalette::Button);
            drawShadePanel(painter, option->rect, pal, option->state & State_Selected, 1, &fill);
            proxy()->drawItemText(painter, option->rect.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                  pal, enabled, tab->text, QPalette::ButtonText);
        }
        return;
    default:
        return;
    }
}

void CZelCommonStyle::drawMenuControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    const QRect &r = option->rect;
    const bool enabled = option->state & State_Enabled;
    switch (element) {
    case CE_MenuItem: {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item)
            return;
        painter->fillRect(r, pal.brush(QPalette::Window));
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            drawShadeLine(painter, QPoint(r.left() + 4, r.center().y()), QPoint(r.right() - 4, r.center().y()),
                          pal, true, 1, 0);
            return;
        }
        const bool selected = (option->state & State_Selected) && enabled;
        if (selected)
            painter->fillRect(r, pal.brush(QPalette::Highlight));
        if (item->checkType != QStyleOptionMenuItem::NotCheckable) {
            QStyleOptionMenuItem mark = *item;
            mark.rect = QRect(r.left() + 4, r.top() + (r.height() - 12) / 2, 12, 12);
            mark.state = option->state | (item->checked ? State_On : State_Off);
            proxy()->drawPrimitive(PE_IndicatorMenuCheckMark, &mark, painter, widget);
        }
        const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::WindowText;
        QString text = item->text;
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QRect textRect = r.adjusted(22, 0, -8, 0);
        if (tab >= 0) {
            proxy()->drawItemText(painter, textRect, Qt::AlignRight | Qt::AlignVCenter, pal, enabled,
                                  text.mid(tab + 1), role);
            text.truncate(tab);
        }
        proxy()->drawItemText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, pal,
                              enabled, text, role);
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
            QStyleOption arrow = *option;
            arrow.rect = QRect(r.right() - 14, r.top(), 10, r.height());
            proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
        }
        return;
    }
    case CE_MenuBarItem: {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        const bool selected = (option->state & (State_Selected | State_Sunken)) && enabled;
        if (selected)
            painter->fillRect(r, pal.brush(QPalette::Highlight));
        if (item)
            proxy()->drawItemText(painter, r, Qt::AlignCenter | Qt::TextShowMnemonic, pal, enabled, item->text,
                                  selected ? QPalette::HighlightedText : QPalette::WindowText);
        return;
    }
    case CE_MenuScroller: {
        painter->fillRect(r, pal.brush(QPalette::Button));
        QStyleOption arrow = *option;
        proxy()->drawPrimitive(option->state & State_DownArrow ? PE_IndicatorArrowDown : PE_IndicatorArrowUp,
                               &arrow, painter, widget);
        return;
    }
    case CE_MenuTearoff:
        painter->save();
        painter->setPen(QPen(pal.color(QPalette::Dark), 1, Qt::DashLine));
        painter->drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
        painter->restore();
        return;
    case CE_MenuVMargin:
    case CE_MenuHMargin:
    case CE_MenuEmptyArea:
    case CE_MenuBarEmptyArea:
        painter->fillRect(r, pal.brush(QPalette::Window));
        return;
    default:
        return;
    }
}

void CZelCommonStyle::drawItemControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const QPalette &pal = option->palette;
    const QRect &r = option->rect;
    const bool enabled = option->state & State_Enabled;
    switch (element) {
    case CE_TabBarTab:
        proxy()->drawControl(CE_TabBarTabShape, option, painter, widget);
        proxy()->drawControl(CE_TabBarTabLabel, option, painter, widget);
        return;
    case CE_TabBarTabShape: {
        const bool selected = option->state & State_Selected;
        const QBrush fill = pal.brush(selected ? QPalette::Window : QPalette::Button);
        drawShadePanel(painter, selected ? r : r.adjusted(0, 2, 0, 0), pal, false, 1, &fill);
        return;
    }
    case CE_TabBarTabLabel:
        if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option))
            proxy()->drawItemText(painter, r, Qt::AlignCenter | Qt::TextShowMnemonic, pal, enabled, tab->text,
                                  QPalette::WindowText);
        return;
    case CE_ProgressBar:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option)) {
            QStyleOptionProgressBar part = *bar;
            part.rect = proxy()->subElementRect(SE_ProgressBarGroove, option, widget);
            proxy()->drawControl(CE_ProgressBarGroove, &part, painter, widget);
            part.rect = proxy()->subElementRect(SE_ProgressBarContents, option, widget);
            proxy()->drawControl(CE_ProgressBarContents, &part, painter, widget);
            if (bar->textVisible) {
                part.rect = proxy()->subElementRect(SE_ProgressBarLabel, option, widget);
                proxy()->drawControl(CE_ProgressBarLabel, &part, painter, widget);
            }
        }
        return;
    case CE_ProgressBarGroove: {
        const QBrush fill = pal.brush(QPalette::Base);
        drawShadePanel(painter, r, pal, true, 1, &fill);
        return;
    }
    case CE_ProgressBarContents:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option)) {
            const qint64 range = qint64(bar->maximum) - bar->minimum;
            const qint64 done = qint64(bar->progress) - bar->minimum;
            if (range > 0 && done > 0) {
                const bool horizontal = bar->state & State_Horizontal;
                QRect filled = r.adjusted(2, 2, -2, -2);
                if (horizontal)
                    filled.setWidth(int(filled.width() * std::min(done, range) / range));
                else
                    filled.setTop(filled.bottom() - int(filled.height() * std::min(done, range) / range));
                painter->fillRect(filled, pal.brush(QPalette::Highlight));
            }
        }
        return;
    case CE_ProgressBarLabel:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option)) {
            // The part of the text over the chunk is drawn in the highlighted colour.
            const qint64 range = qint64(bar->maximum) - bar->minimum;
            const qint64 done = std::clamp<qint64>(qint64(bar->progress) - bar->minimum, 0, std::max<qint64>(range, 0));
            const int split = range > 0 ? r.left() + 2 + int((r.width() - 4) * done / range) : r.left();
            painter->save();
            painter->setClipRect(QRect(r.left(), r.top(), split - r.left(), r.height()));
            proxy()->drawItemText(painter, r, Qt::AlignCenter, pal, enabled, bar->text, QPalette::HighlightedText);
            painter->setClipRect(QRect(split, r.top(), r.right() - split + 1, r.height()));
            proxy()->drawItemText(painter, r, Qt::AlignCenter, pal, enabled, bar->text, QPalette::Text);
            painter->restore();
        }
        return;
    case CE_Header:
        if (const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option)) {
            proxy()->drawControl(CE_HeaderSection, option, painter, widget);
            QStyleOptionHeader label = *header;
            label.rect = proxy()->subElementRect(SE_HeaderLabel, option, widget);
            proxy()->drawControl(CE_HeaderLabel, &label, painter, widget);
            if (header->sortIndicator != QStyleOptionHeader::None) {
                label.rect = proxy()->subElementRect(SE_HeaderArrow, option, widget);
                proxy()->drawPrimitive(PE_IndicatorHeaderArrow, &label, painter, widget);
            }
        }
        return;
    case CE_HeaderSection: {
        const QBrush fill = pal.brush(QPalette::Button);
        drawShadePanel(painter, r, pal, option->state & State_Sunken, 1, &fill);
        return;
    }
    case CE_HeaderLabel:
        if (const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option))
            proxy()->drawItemText(painter, r, int(header->textAlignment) | Qt::AlignVCenter, pal, enabled,
                                  header->text, QPalette::ButtonText);
        return;
    case CE_SizeGrip:
        painter->save();
        for (int i = 4; i < std::min(r.width(), r.height()); i += 4) {
            painter->setPen(pal.color(QPalette::Light));
            painter->drawLine(r.right() - i, r.bottom(), r.right(), r.bottom() - i);
            painter->setPen(pal.color(QPalette::Dark));
            painter->drawLine(r.right() - i + 1, r.bottom(), r.right(), r.bottom() - i + 1);
        }
        painter->restore();
        return;
    case CE_Splitter:
        painter->fillRect(r, pal.brush(QPalette::Window));
        if (option->state & State_Horizontal)
            drawShadeLine(painter, QPoint(r.center().x(), r.top() + 2), QPoint(r.center().x(), r.bottom() - 2), pal);
        else
            drawShadeLine(painter, QPoint(r.left() + 2, r.center().y()), QPoint(r.right() - 2, r.center().y()), pal);
        return;
    case CE_RubberBand: {
        QColor fill = pal.color(QPalette::Highlight);
        fill.setAlpha(60);
        const QBrush brush(fill);
        drawPlainRect(painter, r, pal.color(QPalette::Highlight), 1, &brush);
        return;
    }
    case CE_DockWidgetTitle:
        if (const auto *dock = qstyleoption_cast<const QStyleOptionDockWidget *>(option)) {
            const QBrush fill = pal.brush(QPalette::Button);
            drawShadePanel(painter, r, pal, false, 1, &fill);
            proxy()->drawItemText(painter, r.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, pal, enabled,
                                  dock->title, QPalette::ButtonText);
        }
        return;
    case CE_ScrollBarAddLine:
    case CE_ScrollBarSubLine: {
        const QBrush fill = pal.brush(QPalette::Button);
        drawShadePanel(painter, r, pal, option->state & State_Sunken, 1, &fill);
        const bool horizontal = option->state & State_Horizontal;
        const bool add = element == CE_ScrollBarAddLine;
        QStyleOption arrow = *option;
        arrow.rect = r.adjusted(3, 3, -3, -3);
        proxy()->drawPrimitive(horizontal ? (add ? PE_IndicatorArrowRight : PE_IndicatorArrowLeft)
                                          : (add ? PE_IndicatorArrowDown : PE_IndicatorArrowUp),
                               &arrow, painter, widget);
        return;
    }
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
        painter->fillRect(r, option->state & State_Sunken ? pal.brush(QPalette::Dark) : pal.brush(QPalette::Mid));
        return;
    case CE_ScrollBarSlider: {
        const QBrush fill = pal.brush(QPalette::Button);
        drawShadePanel(painter, r, pal, false, 2, &fill);
        return;
    }
    case CE_ScrollBarFirst:
    case CE_ScrollBarLast:
        painter->fillRect(r, pal.brush(QPalette::Mid));
        return;
    case CE_FocusFrame:
        painter->fillRect(r, pal.brush(QPalette::WindowText));
        return;
    default:
        return;
    }
}

QRect CZelCommonStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    if (!option)
        return {};
    const QRect &r = option->rect;
    const int frame = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
    switch (element) {
    case SE_PushButtonContents: {
        const int margin = frame + proxy()->pixelMetric(PM_ButtonMargin, option, widget) / 2;
        return r.adjusted(margin, margin, -margin, -margin);
    }
    case SE_PushButtonFocusRect:
        return r.adjusted(frame + 1, frame + 1, -frame - 1, -frame - 1);
    case SE_CheckBoxIndicator:
    case SE_RadioButtonIndicator: {
        const bool check = element == SE_CheckBoxIndicator;
        const int w = proxy()->pixelMetric(check ? PM_IndicatorWidth : PM_ExclusiveIndicatorWidth, option, widget);
        const int h = proxy()->pixelMetric(check ? PM_IndicatorHeight : PM_ExclusiveIndicatorHeight, option, widget);
        return visualRect(option->direction, r, QRect(r.left(), r.top() + (r.height() - h) / 2, w, h));
    }
    case SE_CheckBoxContents:
    case SE_RadioButtonContents: {
        const bool check = element == SE_CheckBoxContents;
        const int w = proxy()->pixelMetric(check ? PM_IndicatorWidth : PM_ExclusiveIndicatorWidth, option, widget);
        return visualRect(option->direction, r, r.adjusted(w + 6, 0, 0, 0));
    }
    case SE_CheckBoxFocusRect:
    case SE_RadioButtonFocusRect:
        return proxy()->subElementRect(element == SE_CheckBoxFocusRect ? SE_CheckBoxContents : SE_RadioButtonContents,
                                       option, widget).adjusted(-2, 0, 0, 0);
    case SE_CheckBoxClickRect:
    case SE_RadioButtonClickRect:
        return r;
    case SE_SliderFocusRect:
    case SE_ProgressBarGroove:
    case SE_ProgressBarContents:
    case SE_ProgressBarLabel:
    case SE_TabWidgetTabContents:
    case SE_ToolBoxTabContents:
        return r;
    case SE_LineEditContents:
    case SE_FrameContents:
    case SE_ShapedFrameContents:
        return r.adjusted(frame, frame, -frame, -frame);
    case SE_HeaderLabel: {
        const int margin = proxy()->pixelMetric(PM_HeaderMargin, option, widget);
        return r.adjusted(margin, 0, -margin, 0);
    }
    case SE_HeaderArrow: {
        const int size = std::min(r.height() - 4, 12);
        return QRect(r.right() - size - 4, r.top() + (r.height() - size) / 2, size, size);
    }
    case SE_TabWidgetTabPane:
    case SE_TabWidgetTabBar:
    // Layout items take the widget's own rectangle.
    case SE_CheckBoxLayoutItem:
    case SE_RadioButtonLayoutItem:
    case SE_PushButtonLayoutItem:
    case SE_SliderLayoutItem:
    case SE_ComboBoxLayoutItem:
    case SE_SpinBoxLayoutItem:
    case SE_ToolButtonLayoutItem:
    case SE_LabelLayoutItem:
    case SE_ProgressBarLayoutItem:
    case SE_FrameLayoutItem:
    case SE_GroupBoxLayoutItem:
    case SE_TabWidgetLayoutItem:
        return r;
    default:
        break;
    }
    qWarning("CZelCommonStyle::subElementRect(%d) not handled", int(element));
    return {};
}

#include "editor/app/deviceview/LineEdit2.h"

#include <QFocusEvent>
#include <QMouseEvent>

LineEdit2::LineEdit2(QWidget *parent) : QLineEdit(parent) {}

void LineEdit2::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason)
        m_focusedByMouse = true;
}

void LineEdit2::focusOutEvent(QFocusEvent *event)
{
    m_focusedByMouse = false;
    QLineEdit::focusOutEvent(event);
}

void LineEdit2::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    // The press that brought the focus would otherwise place the cursor.
    if (event->button() == Qt::LeftButton && m_focusedByMouse)
        selectAll();
    m_focusedByMouse = false;
}

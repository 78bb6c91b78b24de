#pragma once

#include <QFocusEvent>
#include <QMouseEvent>

// A line edit whose whole text is selected by the click that gives it the
// focus, so a name can be retyped at once; later clicks place the cursor.
template <typename LineEditBase>
class SelectAllOnFocusClick : public LineEditBase
{
public:
    using LineEditBase::LineEditBase;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        LineEditBase::focusInEvent(event);
        if (event->reason() == Qt::MouseFocusReason)
            m_focusedByMouse = true;
    }

    void focusOutEvent(QFocusEvent *event) override
    {
        m_focusedByMouse = false;
        LineEditBase::focusOutEvent(event);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        LineEditBase::mousePressEvent(event);
        // The press that brought the focus would otherwise place the cursor.
        if (event->button() == Qt::LeftButton && m_focusedByMouse)
            this->selectAll();
        m_focusedByMouse = false;
    }

private:
    bool m_focusedByMouse = false;
};

#pragma once

#include <QLineEdit>

// A line edit whose whole text is selected by the click that gives it the
// focus, so a name can be retyped at once.
class LineEdit2 : public QLineEdit
{
    Q_OBJECT

public:
    explicit LineEdit2(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_focusedByMouse = false;
};

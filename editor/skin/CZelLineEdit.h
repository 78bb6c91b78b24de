#pragma once

#include <QLineEdit>

// The toolkit line edit under the skin's class name, so that the skin's
// styles and the editor's builders can tell skinned fields apart.
class CZelLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CZelLineEdit(QWidget *parent = nullptr) : QLineEdit(parent) {}
    explicit CZelLineEdit(const QString &contents, QWidget *parent = nullptr) : QLineEdit(contents, parent) {}
};

#pragma once

#include "editor/skin/SelectAllOnFocusClick.h"

#include <QLineEdit>

// The device view's name field: the click that focuses it selects the name.
class LineEdit2 : public SelectAllOnFocusClick<QLineEdit>
{
    Q_OBJECT

public:
    explicit LineEdit2(QWidget *parent = nullptr);
};

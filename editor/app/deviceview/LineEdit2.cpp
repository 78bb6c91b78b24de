#include "editor/app/deviceview/LineEdit2.h"

LineEdit2::LineEdit2(QWidget *parent) : SelectAllOnFocusClick<QLineEdit>(parent) {}

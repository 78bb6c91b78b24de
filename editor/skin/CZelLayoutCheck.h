#pragma once

#include <QStringList>

class QWidget;

// Checks a panel laid out from the skin's layout rectangles.
namespace CZelLayoutCheck {

// Pairs of the panel's child widgets whose rectangles overlap, and children
// that leave the panel, as readable lines; empty when the layout is clean.
QStringList problems(const QWidget *panel);

} // namespace CZelLayoutCheck

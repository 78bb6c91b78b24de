#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

// What the two editor tabs share: a fixed-size panel over a background bitmap.
namespace EditorPanel {

// Sets the bitmap as the background of every colour group, filled by the
// widget itself, with a fixed size policy; returns the bitmap.
QPixmap setBackground(QWidget *view, const QString &image);

} // namespace EditorPanel

#pragma once

class QWidget;

// The main window, recorded once it is built: the parent of every message
// box raised without one of its own.
namespace MessageParent {

QWidget *get();
void set(QWidget *window);
// The given parent, or the main window when there is none.
QWidget *orMain(QWidget *parent);

} // namespace MessageParent

#pragma once

#include <QCoreApplication>
#include <QStatusTipEvent>
#include <QWidget>

// Shows a message on the status bar of the main window that holds the widget:
// the window takes it as it takes a status tip. Outside a main window
// nothing shows.
inline void showStatusMessage(QWidget *from, const QString &text)
{
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(from, &tip);
}

#pragma once

#include "editor/app/SingleInstance.h"

#include <QApplication>

// A widgets application that is the only one of its identifier for this
// user: construction with an identifier, sendMessage with a time-out,
// messageReceived in the running instance, and activation of the main window
// on every message.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(const QString &identifier, int &argc, char **argv);

    bool sendMessage(const QString &message, int timeoutMs) { return m_instance.sendMessage(message, timeoutMs); }
    // Makes this instance reachable for later starts; with activate, the
    // activation window is raised whenever a message arrives.
    bool initialize(bool activate = true);
    void setActivationWindow(QWidget *window);
    SingleInstance &instance() { return m_instance; }

signals:
    void messageReceived(const QString &message);

private:
    SingleInstance m_instance;
    QWidget *m_activationWindow = nullptr;
    bool m_activate = false;
};

#include "editor/app/SingleApplication.h"

#include <cstdio>

SingleApplication::SingleApplication(const QString &identifier, int &argc, char **argv)
    : QApplication(argc, argv), m_instance(identifier)
{
    connect(&m_instance, &SingleInstance::messageReceived, this, &SingleApplication::messageReceived);
}

void SingleApplication::setActivationWindow(QWidget *window)
{
    m_activationWindow = window;
    if (m_activate)
        m_instance.setActivationWindow(window);
}

bool SingleApplication::initialize(bool activate)
{
    m_activate = activate;
    if (!m_instance.isUsable()) {
        std::fprintf(stderr, "ZELVorpad: single-instance channel not used: %s; this editor runs on its own\n",
                     qPrintable(m_instance.channelError()));
        return false;
    }
    m_instance.setActivationWindow(activate ? m_activationWindow : nullptr);
    if (!m_instance.listen()) {
        std::fprintf(stderr, "ZELVorpad: cannot open the single-instance channel at %s\n",
                     qPrintable(m_instance.socketPath()));
        return false;
    }
    return true;
}

#pragma once

#include "updater/engine/UpdaterConfiguration.h"

#include <QApplication>

namespace Oxa {

// The application: owns the package's configuration.
class UpdaterApp : public QApplication
{
    Q_OBJECT

public:
    UpdaterApp(int &argc, char **argv, Platform::DeviceControl *control);

    UpdaterConfiguration &configuration() { return m_configuration; }

private:
    UpdaterConfiguration m_configuration;
};

} // namespace Oxa

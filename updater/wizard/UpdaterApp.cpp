#include "updater/wizard/UpdaterApp.h"

#include <QDir>

namespace Oxa {

UpdaterApp::UpdaterApp(int &argc, char **argv, Platform::DeviceControl *control)
    : QApplication(argc, argv), m_configuration(QDir(applicationDirPath()), control)
{
    setApplicationName(QStringLiteral("Updater"));
}

} // namespace Oxa

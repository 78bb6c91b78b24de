// Test main for what only a real window system shows (the X11 key bindings of
// the text fields): run under a virtual display, `xvfb-run -a`, with
// QT_QPA_PLATFORM=xcb; every run gets its own home and settings.
#include "editor/app/AppSettings.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *name : {"config", "data"})
        QDir(home.path()).mkpath(QLatin1String(name));
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qunsetenv("VORPAD_SIMULATE");

    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::OrganizationName));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::ApplicationName));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

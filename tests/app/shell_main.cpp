// Test main for the editor program's shell: widgets need an application, and
// every run gets its own home, settings, data and runtime folders, so parallel
// runs (and the editor processes they start) never meet.
#include "editor/app/AppSettings.h"
#include "editor/app/deviceview/EditorFonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *name : {"config", "data", "runtime", "tmp"})
        QDir(home.path()).mkpath(QLatin1String(name));
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    qputenv("TMPDIR", (home.path() + "/tmp").toLocal8Bit());
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("VORPAD_SIMULATE");

    QApplication application(argc, argv);
    // Qt's image work hands tasks between the global pool's threads in ways
    // the thread sanitizer cannot see; with one pooled thread there are none.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::OrganizationName));
    QCoreApplication::setApplicationName(QLatin1String(AppSettings::ApplicationName));
    EditorFonts::installSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

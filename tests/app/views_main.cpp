// Test main for the device view and the revert backups: widgets need an
// application, and every run gets a home and settings store of its own so
// parallel runs never share files.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThreadPool>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *name : {"config", "data", "runtime"})
        QDir(home.path()).mkpath(QLatin1String(name));
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    // Qt's image work hands tasks between the global pool's threads in ways
    // the thread sanitizer cannot see; with one pooled thread there are none.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane Professional"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEL Vorpad"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Test main for widget tests: widgets and pixmaps need an application, and
// tests run without a display.
#include <QApplication>
#include <QThreadPool>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Qt's image work hands tasks between the global pool's threads in ways
    // the thread sanitizer cannot see; with one pooled thread there are none.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

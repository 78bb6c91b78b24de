// Test main for the skin: the widgets and pixmaps need an application.
#include "tests/skin/SkinTestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
QtMessageHandler previousHandler = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg)
        WarningRecorder::lines().append(message);
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

QStringList &WarningRecorder::lines()
{
    static QStringList recorded;
    return recorded;
}

WarningRecorder::WarningRecorder()
{
    lines().clear();
    previousHandler = qInstallMessageHandler(recordWarning);
}

WarningRecorder::~WarningRecorder() { qInstallMessageHandler(previousHandler); }

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

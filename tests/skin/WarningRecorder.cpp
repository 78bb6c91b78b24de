#include "tests/skin/SkinTestSupport.h"

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

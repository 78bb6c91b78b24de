#include "updater/engine/UpdateLog.h"

#include "updater/core/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Oxa {

namespace {

QString quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString UpdateLog::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vorpad/updates.log");
}

QString UpdateLog::format(const UpdateRecord &r)
{
    QString line = r.time.toString(Qt::ISODate) + QLatin1String(" device=") + quoted(r.device) +
                   QLatin1String(" serial=") + quoted(r.serialNumber) + QLatin1String(" from=") + quoted(r.oldVersion) +
                   QLatin1String(" to=") + quoted(r.newVersion) + QLatin1String(" result=") +
                   (r.succeeded ? QLatin1String("updated") : QLatin1String("failed"));
    if (!r.succeeded)
        line += QLatin1String(" step=") + quoted(r.failedStep);
    return line + QLatin1Char('\n');
}

bool UpdateLog::append(const UpdateRecord &record) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        log("UpdateLog::append - cannot open %s", qPrintable(m_path));
        return false;
    }
    const QByteArray line = format(record).toUtf8();
    return file.write(line) == line.size() && file.flush();
}

} // namespace Oxa

#include "editor/app/EditorSession.h"

#include "editor/app/AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace EditorSession {

namespace {

QString created(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path) ? QDir::toNativeSeparators(path) : QString();
}

} // namespace

void setSimulated(bool simulated)
{
    QCoreApplication::setOrganizationName(QLatin1String(AppSettings::OrganizationName));
    QCoreApplication::setApplicationName(
        QLatin1String(simulated ? SimulatedApplicationName : AppSettings::ApplicationName));
}

bool isSimulated() { return QCoreApplication::applicationName() == QLatin1String(SimulatedApplicationName); }

QString dataFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : created(data + QStringLiteral("/vorpad"));
}

QString defaultBackupFolder()
{
    if (!isSimulated())
        return QDir::toNativeSeparators(QDir::homePath());
    const QString data = dataFolder();
    return data.isEmpty() ? QString()
                          : created(QDir::fromNativeSeparators(data) + QStringLiteral("/simulated-backups"));
}

} // namespace EditorSession

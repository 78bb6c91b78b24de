#include "editor/app/EditorDialogs.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/revert/PreferencesDialog.h"
#include "editor/app/revert/RevertDialog.h"
#include "editor/app/revert/RevertManager.h"

#include <QCoreApplication>

namespace EditorDialogs {

namespace {
QString tr(const char *text) { return QCoreApplication::translate("EditorDialogs", text); }
} // namespace

void saveRevert()
{
    // A backup written now would be pruned at once.
    if (AppSettings::numberOfBackups() == 0) {
        DeviceSession::showStatus(tr("No revert backup kept: the preferences keep 0 backups"));
        return;
    }
    const QString name = RevertManager::instance().saveNow();
    DeviceSession::showStatus(name.isEmpty() ? tr("The revert backup could not be written")
                                             : tr("Revert backup %1 written").arg(name));
}

void revert(QWidget *parent)
{
    RevertDialog dialog(parent);
    QObject::connect(&dialog, &RevertDialog::restored, [](const QString &name, bool done) {
        DeviceSession::showStatus(done ? tr("Revert backup %1 restored").arg(name)
                                       : tr("Revert backup %1 could not be restored").arg(name));
    });
    dialog.exec();
}

void preferences(QWidget *parent)
{
    PreferencesDialog dialog(parent);
    dialog.exec();
}

} // namespace EditorDialogs

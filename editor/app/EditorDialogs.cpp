#include "editor/app/EditorDialogs.h"

#include "editor/app/DeviceSession.h"
#include "editor/app/revert/PreferencesDialog.h"
#include "editor/app/revert/RevertDialog.h"
#include "editor/app/revert/RevertManager.h"

#include <QCoreApplication>

namespace EditorDialogs {

void saveRevert()
{
    const QString name = RevertManager::instance().saveNow();
    DeviceSession::showStatus(
        name.isEmpty() ? QCoreApplication::translate("EditorDialogs", "The revert backup could not be written")
                       : QCoreApplication::translate("EditorDialogs", "Revert backup %1 written").arg(name));
}

void revert(QWidget *parent)
{
    RevertDialog dialog(parent);
    dialog.exec();
}

void preferences(QWidget *parent)
{
    PreferencesDialog dialog(parent);
    dialog.exec();
}

} // namespace EditorDialogs

#include "editor/app/EditorDialogs.h"

#include "editor/app/DeviceSession.h"

#include <QCoreApplication>

// Revert backups and preferences are not part of this build yet; the commands
// say so instead of doing nothing.
namespace EditorDialogs {

namespace {
void unavailable()
{
    DeviceSession::showStatus(QCoreApplication::translate("EditorDialogs", "Revert backups and preferences are not available yet"));
}
} // namespace

void saveRevert() { unavailable(); }
void revert(QWidget *) { unavailable(); }
void preferences(QWidget *) { unavailable(); }

} // namespace EditorDialogs

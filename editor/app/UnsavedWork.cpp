#include "editor/app/UnsavedWork.h"

#include "editor/app/AppSettings.h"
#include "editor/app/FileDialogs.h"
#include "editor/app/MessageParent.h"
#include "editor/core/RemoteControlManager.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace UnsavedWork {

namespace {
QString tr(const char *text) { return QCoreApplication::translate("UnsavedWork", text); }
} // namespace

void askPatchQuestion(QWidget *parent)
{
    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
    if (!manager.isActivePatchModified())
        return;
    if (AppSettings::autoSave() != AppSettings::AutoStore) {
        const auto answer = QMessageBox::question(MessageParent::orMain(parent), tr(PatchTitle), tr(PatchText),
                                                  QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::No)
            return;
    }
    manager.storeActivePatch();
}

bool askBankQuestion(QWidget *parent)
{
    if (!Brisel::RemoteControlManager::instance().bank().hasModifiedPatches())
        return true;
    const auto answer = QMessageBox::question(MessageParent::orMain(parent), tr(BankTitle), tr(BankText),
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::No || FileDialogs::saveBank(MessageParent::orMain(parent));
}

void askBoth(QWidget *parent)
{
    askPatchQuestion(parent);
    askBankQuestion(parent);
}

} // namespace UnsavedWork

#include "editor/app/revert/RevertDialog.h"

#include "editor/app/revert/RevertManager.h"
#include "ui_RevertDialog.h"

RevertDialog::RevertDialog(RevertManager &reverts, QWidget *parent)
    : QDialog(parent), m_reverts(reverts), ui(std::make_unique<Ui::RevertDialog>())
{
    ui->setupUi(this);
    m_reverts.rescan();
    m_reverts.prune();
    for (int i = 0; i < m_reverts.count(); ++i)
        ui->revertList->addItem(m_reverts.name(i));
    setFixedSize(sizeHint());
}

RevertDialog::RevertDialog(QWidget *parent) : RevertDialog(RevertManager::instance(), parent) {}

RevertDialog::~RevertDialog() = default;

int RevertDialog::selectedBackup() const
{
    const QListWidgetItem *item = ui->revertList->currentItem();
    if (!item || !item->isSelected())
        return -1;
    for (int i = 0; i < m_reverts.count(); ++i) {
        if (m_reverts.name(i) == item->text())
            return i;
    }
    return -1;
}

void RevertDialog::on_revertButton_clicked()
{
    const int backup = selectedBackup();
    if (backup >= 0) {
        const QString name = m_reverts.name(backup);
        emit restored(name, m_reverts.restore(backup));
    }
}

void RevertDialog::on_deleteButton_clicked()
{
    const int backup = selectedBackup();
    if (backup < 0)
        return;
    m_reverts.deleteBackup(backup);
    delete ui->revertList->takeItem(ui->revertList->currentRow());
}

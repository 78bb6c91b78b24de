#pragma once

#include <QDialog>

#include <memory>

class RevertManager;

namespace Ui {
class RevertDialog;
}

// Lists the revert backups, newest first, and restores or deletes the one
// the user selects. The list is read from the folder when the dialog opens.
class RevertDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RevertDialog(RevertManager &reverts, QWidget *parent = nullptr);
    explicit RevertDialog(QWidget *parent = nullptr);
    ~RevertDialog() override;

signals:
    // A backup was restored (done) or could not be.
    void restored(const QString &name, bool done);

private slots:
    void on_revertButton_clicked();
    void on_deleteButton_clicked();

private:
    // The manager's index of the selected row, or -1.
    int selectedBackup() const;

    RevertManager &m_reverts;
    std::unique_ptr<Ui::RevertDialog> ui;
};

#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class PreferencesDialog;
}

// Edits the four user preferences: start-up device, auto-store, backups
// retained and the backups folder. Only OK writes them.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesDialog(QWidget *parent = nullptr);
    ~PreferencesDialog() override;

private slots:
    void on_browseBackupsButton_clicked();
    void on_okButton_clicked();

protected:
    // The folder the user picks, starting at start; empty when cancelled.
    virtual QString chooseFolder(const QString &start);

private:
    std::unique_ptr<Ui::PreferencesDialog> ui;
};

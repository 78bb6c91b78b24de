#include "editor/app/revert/PreferencesDialog.h"

#include "editor/app/AppSettings.h"
#include "ui_PreferencesDialog.h"

#include <QDir>
#include <QFileDialog>

namespace {

void selectData(QComboBox *combo, int value) { combo->setCurrentIndex(std::max(0, combo->findData(value))); }

} // namespace

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::PreferencesDialog>())
{
    ui->setupUi(this);
    // After the automatic connection, so the settings are written before
    // anyone hears of the acceptance.
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);

    ui->startupDeviceType->addItem(tr("Default"), 0);
    ui->startupDeviceType->addItem(tr("Last"), 1);
    ui->autoStorePatches->addItem(tr("Ask Always"), 0);
    ui->autoStorePatches->addItem(tr("Auto"), 1);

    selectData(ui->startupDeviceType, AppSettings::startupDevice());
    selectData(ui->autoStorePatches, AppSettings::autoSave());
    ui->numBackups->setValue(AppSettings::numberOfBackups());
    ui->backupsFolderPath->setText(AppSettings::backupPath());
}

PreferencesDialog::~PreferencesDialog() = default;

QString PreferencesDialog::chooseFolder(const QString &start)
{
    return QFileDialog::getExistingDirectory(this, QString(), start, QFileDialog::ShowDirsOnly);
}

void PreferencesDialog::on_browseBackupsButton_clicked()
{
    const QString folder = chooseFolder(ui->backupsFolderPath->text());
    if (!folder.isEmpty())
        ui->backupsFolderPath->setText(QDir::toNativeSeparators(folder));
}

void PreferencesDialog::on_okButton_clicked()
{
    AppSettings::setAutoSave(ui->autoStorePatches->currentData().toInt());
    AppSettings::setStartupDevice(ui->startupDeviceType->currentData().toInt());
    AppSettings::setNumberOfBackups(ui->numBackups->value());
    AppSettings::setBackupPath(ui->backupsFolderPath->text());
}

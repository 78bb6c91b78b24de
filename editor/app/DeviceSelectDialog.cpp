#include "editor/app/DeviceSelectDialog.h"

#include "ui_DeviceSelectDialog.h"

#include "editor/app/DeviceSession.h"
#include "editor/core/DeviceList.h"

DeviceSelectDialog::DeviceSelectDialog(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::DeviceSelectDialog>())
{
    m_ui->setupUi(this);
    Brisel::DeviceList &devices = Brisel::DeviceList::instance();
    devices.refresh(); // kept as it is while a device is connected
    for (int i = 0; i < devices.count(); ++i)
        m_ui->deviceList->addItem(QString::fromStdString(devices.record(i).name));
    setFixedSize(size());
}

DeviceSelectDialog::~DeviceSelectDialog() = default;

void DeviceSelectDialog::on_okButton_clicked()
{
    const int row = m_ui->deviceList->currentRow();
    const QList<QListWidgetItem *> selected = m_ui->deviceList->selectedItems();
    Brisel::DeviceList &devices = Brisel::DeviceList::instance();
    if (selected.isEmpty() || row < 0 || row >= devices.count())
        return;
    const Brisel::DeviceRecord record = devices.record(row);
    DeviceSession::select(record);
}

void DeviceSelectDialog::on_cancelButton_clicked() {}

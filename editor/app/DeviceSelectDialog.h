#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DeviceSelectDialog;
}

// Lists the devices found (the empty "no device" entry first) and connects
// the chosen one. Unlike the device view, it does not record a last device.
class DeviceSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DeviceSelectDialog(QWidget *parent = nullptr);
    ~DeviceSelectDialog() override;

private slots:
    void on_okButton_clicked();
    void on_cancelButton_clicked();

private:
    std::unique_ptr<Ui::DeviceSelectDialog> m_ui;
};

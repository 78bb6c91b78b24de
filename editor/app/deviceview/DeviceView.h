#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class FileOperations;
class QComboBox;
class QPushButton;
class DropBankLineEdit;
class PatchListWidget;
class DeviceViewPrivate;

namespace Brisel {
class DeviceList;
class RemoteControlManager;
struct DeviceRecord;
} // namespace Brisel

// What the device view works with. The process passes its own objects; tests
// pass their own.
struct DeviceViewServices {
    Brisel::RemoteControlManager &manager;
    Brisel::DeviceList &devices;
    FileOperations &files;
    // Offers to store the active patch when it is modified (the editor's
    // patch question); called before another patch replaces it.
    std::function<void()> askPatchQuestion;
    // Connects the chosen device and reports whether the manager's
    // selectDevice succeeded; the editor's own also writes the revert backup
    // and reports the download. Empty: the manager's selectDevice alone.
    std::function<bool(const Brisel::DeviceRecord &)> selectDevice;
};

// The left column of the main window: device choice, bank name, the bank's
// patch list and the buttons that move a patch. It shows the core's state
// through its observers only and accepts dropped bank files.
class DeviceView : public QWidget
{
    Q_OBJECT

public:
    explicit DeviceView(const DeviceViewServices &services, QWidget *parent = nullptr);
    ~DeviceView() override;

    QComboBox *deviceCombo() const;
    DropBankLineEdit *bankNameField() const;
    PatchListWidget *patchList() const;
    QPushButton *moveUpButton() const;
    QPushButton *moveDownButton() const;

public slots:
    void deviceSelected(int selection);
    void bankNameEdited();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class DeviceViewPrivate;
    std::unique_ptr<DeviceViewPrivate> d;
};

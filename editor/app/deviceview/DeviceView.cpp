#include "editor/app/deviceview/DeviceView.h"

#include "editor/app/AppSettings.h"
#include "editor/app/deviceview/DropBankWidgets.h"
#include "editor/app/deviceview/FileDrop.h"
#include "editor/app/deviceview/PatchListWidget.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/Observer.h"
#include "editor/core/RemoteControlManager.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

class DeviceViewPrivate
{
public:
    DeviceViewPrivate(DeviceView *view, const DeviceViewServices &services);

    void deviceListChanged();
    void currentDeviceChanged();
    void bankNameChanged();
    void currentPatchChanged();

    DeviceViewServices services;
    BankFileDrop bankDrop;
    QComboBox *deviceCombo = nullptr;
    DropBankLineEdit *bankName = nullptr;
    PatchListWidget *patchList = nullptr;
    QPushButton *moveUp = nullptr;
    QPushButton *moveDown = nullptr;

    // Created after the widgets they update, destroyed (and so detached)
    // with this object.
    std::unique_ptr<Utils::ProxyObserver<DeviceViewPrivate>> deviceListObserver;
    std::unique_ptr<Utils::ProxyObserver<DeviceViewPrivate>> currentDeviceObserver;
    std::unique_ptr<Utils::ProxyObserver<DeviceViewPrivate>> bankNameObserver;
    std::unique_ptr<Utils::ProxyObserver<DeviceViewPrivate>> currentPatchObserver;
};

namespace {

QString deviceName(const Brisel::DeviceRecord &record)
{
    return record.isEmpty() ? QString() : QString::fromStdString(record.name);
}

QPushButton *arrowButton(const char *image, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setIcon(QIcon(QLatin1String(image)));
    return button;
}

} // namespace

DeviceViewPrivate::DeviceViewPrivate(DeviceView *view, const DeviceViewServices &services)
    : services(services), bankDrop(services.files)
{
    auto *layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(DeviceView::tr("Device"), view));
    deviceCombo = new QComboBox(view);
    layout->addWidget(deviceCombo);
    layout->addWidget(new DropBankLabel(DeviceView::tr("Bank Name"), bankDrop, view));
    bankName = new DropBankLineEdit(bankDrop, view);
    layout->addWidget(bankName);
    layout->addWidget(new DropBankLabel(DeviceView::tr("Patches"), bankDrop, view));
    patchList = new PatchListWidget(services.manager, services.files, services.askPatchQuestion, view);
    layout->addWidget(patchList);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    moveUp = arrowButton(":/images/Arrow_Up.png", view);
    moveDown = arrowButton(":/images/Arrow_Down.png", view);
    moveUp->setToolTip(DeviceView::tr("Move the selected patch one slot up"));
    moveDown->setToolTip(DeviceView::tr("Move the selected patch one slot down"));
    buttons->addWidget(moveUp);
    buttons->addWidget(moveDown);
    layout->addLayout(buttons);
    layout->addStretch();

    // The column is as wide as the patch list; long device names are cut in
    // the box but whole in its pop-up.
    deviceCombo->setFixedWidth(PatchListWidget::ListWidth);
    bankName->setFixedWidth(PatchListWidget::ListWidth);
}

void DeviceViewPrivate::deviceListChanged()
{
    deviceCombo->clear();
    const Brisel::DeviceList &devices = services.devices;
    for (int i = 0; i < devices.count(); ++i)
        deviceCombo->addItem(deviceName(devices.record(i)));
    // A rebuilt list starts at its first item; show the connected device.
    currentDeviceChanged();
}

void DeviceViewPrivate::currentDeviceChanged()
{
    const Brisel::DeviceRecord current = services.manager.currentDevice();
    const Brisel::DeviceList &devices = services.devices;
    int index = 0;
    for (int i = 0; i < devices.count(); ++i) {
        if (devices.record(i) == current) {
            index = i;
            break;
        }
    }
    if (deviceCombo->currentIndex() != index)
        deviceCombo->setCurrentIndex(index);
}

void DeviceViewPrivate::bankNameChanged()
{
    bankName->setText(QString::fromStdString(services.manager.bank().name().value()).trimmed());
}

void DeviceViewPrivate::currentPatchChanged()
{
    const int slot = services.manager.currentPosition();
    moveUp->setEnabled(slot > 0);
    moveDown->setEnabled(slot < StoredPatchCount - 1);
}

DeviceView::DeviceView(const DeviceViewServices &services, QWidget *parent)
    : QWidget(parent), d(std::make_unique<DeviceViewPrivate>(this, services))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setAcceptDrops(true);

    connect(d->deviceCombo, &QComboBox::activated, this, &DeviceView::deviceSelected);
    connect(d->bankName, &QLineEdit::editingFinished, this, &DeviceView::bankNameEdited);
    connect(d->moveUp, &QPushButton::clicked, d->patchList, &PatchListWidget::moveUp);
    connect(d->moveDown, &QPushButton::clicked, d->patchList, &PatchListWidget::moveDown);

    using Proxy = Utils::ProxyObserver<DeviceViewPrivate>;
    Brisel::RemoteControlManager &manager = services.manager;
    d->deviceListObserver = std::make_unique<Proxy>(d.get(), &DeviceViewPrivate::deviceListChanged);
    d->currentDeviceObserver = std::make_unique<Proxy>(d.get(), &DeviceViewPrivate::currentDeviceChanged);
    d->bankNameObserver = std::make_unique<Proxy>(d.get(), &DeviceViewPrivate::bankNameChanged);
    d->currentPatchObserver = std::make_unique<Proxy>(d.get(), &DeviceViewPrivate::currentPatchChanged);
    services.devices.changed().attach(d->deviceListObserver.get());
    manager.connection().changed().attach(d->currentDeviceObserver.get());
    manager.bank().name().subject().attach(d->bankNameObserver.get());
    manager.bank().currentPatch().subject().attach(d->currentPatchObserver.get());

    d->deviceListChanged();
    d->currentDeviceChanged();
    d->bankNameChanged();
    d->currentPatchChanged();
    d->patchList->patchSelectionChanged();
}

DeviceView::~DeviceView()
{
    // The children outlive the private part until the base class deletes
    // them; a focus change on the way (the bank name finishing its edit)
    // must not reach a slot that needs it.
    d->bankName->disconnect(this);
    d->deviceCombo->disconnect(this);
}

QComboBox *DeviceView::deviceCombo() const { return d->deviceCombo; }
DropBankLineEdit *DeviceView::bankNameField() const { return d->bankName; }
PatchListWidget *DeviceView::patchList() const { return d->patchList; }
QPushButton *DeviceView::moveUpButton() const { return d->moveUp; }
QPushButton *DeviceView::moveDownButton() const { return d->moveDown; }

void DeviceView::deviceSelected(int selection)
{
    const Brisel::DeviceList &devices = d->services.devices;
    if (selection < 0 || selection >= devices.count())
        return;
    const Brisel::DeviceRecord record = devices.record(selection);
    Brisel::RemoteControlManager &manager = d->services.manager;
    if (record == manager.currentDevice())
        return;
    const bool selected = d->services.selectDevice ? d->services.selectDevice(record) : manager.selectDevice(record);
    if (selected)
        AppSettings::setLastDevice(QString::fromStdString(record.name));
}

void DeviceView::bankNameEdited()
{
    const QString text = d->bankName->text().trimmed();
    Brisel::StringPatchParam &name = d->services.manager.bank().name();
    // Leaving the field without an edit sends nothing to the device.
    if (text == QString::fromStdString(name.value()).trimmed())
        return;
    name.setValue(text.toLatin1().toStdString());
}

void DeviceView::dragEnterEvent(QDragEnterEvent *event) { d->bankDrop.dragEnter(event); }

void DeviceView::dropEvent(QDropEvent *event) { d->bankDrop.drop(event, this); }

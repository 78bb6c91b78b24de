#include "editor/app/AboutBox.h"

#include "ui_AboutBox.h"

#include "editor/core/DriverLookup.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/DeviceModel.h"
#include "platform/MidiSelection.h"
#include "platform/devicecontrol/DeviceControl.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPixmap>

namespace Win32 {

namespace {

const QString Unknown = QStringLiteral("-");

QString versionText(const Platform::DeviceControl::FileVersion &version)
{
    QStringList parts;
    for (std::uint16_t part : version.part)
        parts.append(QString::number(part));
    return parts.join(QLatin1Char('.'));
}

void setBackground(QDialog &dialog)
{
    const QPixmap background(QStringLiteral(":/images/about_bg.bmp"));
    if (background.isNull())
        return;
    dialog.setFixedSize(background.size());
    QPalette palette = dialog.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setBrush(group, QPalette::Window, QBrush(background));
        palette.setBrush(group, QPalette::WindowText, QBrush(Qt::white));
    }
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

} // namespace

QStringList AboutBox::collectIdentification()
{
    QString driverName = Unknown;
    QString driverVersion = Unknown;
    QString firmware = Unknown;
    QString deviceId = Unknown;
    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
    if (manager.isConnected()) {
        const Brisel::DeviceRecord device = manager.currentDevice();
        firmware = QString::fromStdString(device.firmware);
        deviceId = QString::number(device.deviceId);
        const int productId = Brisel::usbProductId(device.model);
        if (Platform::DeviceControl *control = Platform::deviceControl(); control && productId != 0) {
            const std::wstring path = Brisel::findDriverPath(*control, productId);
            if (!path.empty()) {
                driverName = QFileInfo(QString::fromStdWString(path)).fileName();
                driverVersion = versionText(Brisel::fileVersionOf(*control, path));
            }
        }
    }
    return {QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
            QStringLiteral(VORPAD_FILE_VERSION),
            driverName,
            driverVersion,
            firmware,
            deviceId};
}

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutBox>()), m_identification(collectIdentification())
{
    m_ui->setupUi(this);
    setBackground(*this);
    QLabel *const values[] = {m_ui->fileName,      m_ui->fileVersion,     m_ui->driverName,
                              m_ui->driverVersion, m_ui->firmwareVersion, m_ui->deviceID};
    for (int i = 0; i < int(std::size(values)); ++i)
        values[i]->setText(m_identification.at(i));
}

AboutBox::~AboutBox() = default;

} // namespace Win32

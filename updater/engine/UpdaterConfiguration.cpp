#include "updater/engine/UpdaterConfiguration.h"

#include "updater/core/Log.h"
#include "updater/core/Revision.h"
#include "updater/engine/DomElementParser.h"
#include "updater/win32/USBClassicEnumerator.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>

namespace Oxa {

namespace {

// Builders of the database's elements: each element's handlers are bound
// member functions of the object that collects it.
class FirmwareBuilder
{
public:
    explicit FirmwareBuilder(const QDir &directory) : m_directory(directory) {}

    FirmwareDescription build(const QDomElement &element)
    {
        DomElementParser<FirmwareBuilder>(*this)
            .add(QStringLiteral("image"), &FirmwareBuilder::readImage)
            .add(QStringLiteral("revision"), &FirmwareBuilder::readRevision)
            .add(QStringLiteral("blockSize"), &FirmwareBuilder::readBlockSize)
            .parse(element);
        const QFileInfo image(QString::fromStdString(m_description.imagePath));
        if (m_description.imagePath.empty() || !image.isAbsolute() || !image.isFile())
            throw OXAException("Invalid FirmwareDescription");
        return m_description;
    }

private:
    void readImage(const QDomElement &element)
    {
        const QString text = element.text();
        m_description.imagePath = text.isEmpty() ? std::string() : m_directory.absoluteFilePath(text).toStdString();
    }
    void readRevision(const QDomElement &element)
    {
        m_description.revision = element.text().toStdString();
        m_description.hasBuild = revisionHasBuild(m_description.revision);
    }
    void readBlockSize(const QDomElement &element)
    {
        bool ok = false;
        const int size = element.text().toInt(&ok, 10);
        if (ok && size > 0)
            m_description.blockSize = size;
    }

    const QDir &m_directory;
    FirmwareDescription m_description;
};

class DeviceClassBuilder
{
public:
    DeviceClassBuilder(DeviceEnumeratorManager &enumerators, const QDir &directory)
        : m_enumerators(enumerators), m_directory(directory)
    {
    }

    std::unique_ptr<DeviceClass> build(const QDomElement &element)
    {
        if (element.tagName() != QLatin1String("deviceClass"))
            throw DeviceClass::InvalidDeviceClass("DeviceClass - wrong tag");
        m_class = std::make_unique<DeviceClass>(element.attribute(QStringLiteral("name")).toStdString());
        DomElementParser<DeviceClassBuilder>(*this)
            .add(QStringLiteral("enumerator"), &DeviceClassBuilder::readEnumerator)
            .add(QStringLiteral("pid"), &DeviceClassBuilder::readPid)
            .add(QStringLiteral("firmware"), &DeviceClassBuilder::readFirmware)
            .parse(element);
        return std::move(m_class);
    }

private:
    void readEnumerator(const QDomElement &element)
    {
        const QDomElement custom = element.firstChildElement(QStringLiteral("custom"));
        m_class->setEnumerator(m_enumerators.create(element.attribute(QStringLiteral("class")).toStdString(),
                                                    custom.isNull() ? std::string() : custom.text().toStdString(),
                                                    *m_class));
    }
    void readPid(const QDomElement &element) { m_class->addHardwareId(element.text().toStdString()); }
    void readFirmware(const QDomElement &element) { m_class->addFirmware(FirmwareBuilder(m_directory).build(element)); }

    DeviceEnumeratorManager &m_enumerators;
    const QDir &m_directory;
    std::unique_ptr<DeviceClass> m_class;
};

class DatabaseBuilder
{
public:
    DatabaseBuilder(DeviceEnumeratorManager &enumerators, const QDir &directory)
        : m_enumerators(enumerators), m_directory(directory)
    {
    }

    std::unique_ptr<UpdaterServices> build(const QDomElement &element)
    {
        m_services = std::make_unique<UpdaterServices>();
        // Only the exact text "false" turns downgrades off.
        m_services->setAllowDowngrade(element.attribute(QStringLiteral("allowDowngrade")) != QLatin1String("false"));
        DomElementParser<DatabaseBuilder>(*this)
            .add(QStringLiteral("deviceClass"), &DatabaseBuilder::readDeviceClass)
            .add(QStringLiteral("processFilter"), &DatabaseBuilder::readProcessFilter)
            .parse(element);
        return std::move(m_services);
    }

private:
    void readDeviceClass(const QDomElement &element)
    {
        m_services->addDeviceClass(DeviceClassBuilder(m_enumerators, m_directory).build(element));
    }
    void readProcessFilter(const QDomElement &element) { m_services->addProcessFilter(element.text().toStdString()); }

    DeviceEnumeratorManager &m_enumerators;
    const QDir &m_directory;
    std::unique_ptr<UpdaterServices> m_services;
};

} // namespace

UpdaterConfiguration::UpdaterConfiguration(const QDir &programDirectory, Platform::DeviceControl *control)
    : m_directory(programDirectory)
{
    m_enumerators.add(std::make_unique<USBClassicEnumeratorFactory>(control));
}

UpdaterConfiguration::~UpdaterConfiguration() = default;

QString UpdaterConfiguration::title() const
{
    if (m_packager)
        return m_packager->title();
    return m_titleRead.isEmpty() ? QStringLiteral("Zel Firmware Updater") : m_titleRead;
}

bool UpdaterConfiguration::load(const QString &path)
{
    log("config path: %s", qPrintable(path));
    QFile file(path);
    if (!file.exists()) {
        log("UpdaterApp::loadConfiguration - file does not exist.");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        log("UpdaterApp::loadConfiguration - cannot open");
        return false;
    }
    return loadFromBytes(file.readAll());
}

bool UpdaterConfiguration::loadFromBytes(const QByteArray &bytes)
{
    m_packager.reset();
    m_services.reset();
    m_titleRead.clear();
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(bytes, &message, &line, &column)) {
        log("setContent failed at line %d, column %d, message: %s", line, column, qPrintable(message));
        return false;
    }
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("updaterApp")) {
        log("incorrect root tag name: %s", qPrintable(root.tagName()));
        return false;
    }
    try {
        DomElementParser<UpdaterConfiguration>(*this)
            .add(QStringLiteral("packager"), &UpdaterConfiguration::readPackager)
            .add(QStringLiteral("database"), &UpdaterConfiguration::readDatabase)
            .parse(root);
    } catch (const OXAException &e) {
        log("exception caught: %s", e.what());
        // A package with a broken part is broken as a whole, whatever was read before it.
        m_packager.reset();
        m_services.reset();
    }
    return configured();
}

void UpdaterConfiguration::readPackager(const QDomElement &element)
{
    m_packager = std::make_unique<Packager>(element, m_directory);
    m_titleRead = m_packager->title();
}

void UpdaterConfiguration::readDatabase(const QDomElement &element)
{
    m_services = DatabaseBuilder(m_enumerators, m_directory).build(element);
}

} // namespace Oxa

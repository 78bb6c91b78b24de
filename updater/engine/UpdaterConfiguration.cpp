#include "updater/engine/UpdaterConfiguration.h"

#include "updater/core/Log.h"
#include "updater/core/Revision.h"
#include "updater/engine/DomElementParser.h"
#include "updater/win32/USBClassicEnumerator.h"

#include <QCryptographicHash>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace Oxa {

namespace {

// A pretty-printed package indents its texts: they count without the white space around them.
QString trimmedText(const QDomElement &element) { return element.text().trimmed(); }

// The image's bytes when they match the digest the package gives; the bytes
// checked are the ones sent, so a file that changes afterwards cannot slip in.
std::vector<std::uint8_t> checkedImage(const QString &path, const QString &sha256)
{
    static const QRegularExpression digestForm(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (!digestForm.match(sha256).hasMatch())
        throw OXAException("Invalid FirmwareDescription: sha256 is not 64 hexadecimal digits");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OXAException("Invalid FirmwareDescription: cannot read the image");
    const QByteArray bytes = file.readAll();
    if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != sha256.toLower().toLatin1())
        throw OXAException("Invalid FirmwareDescription: the image does not match its sha256");
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

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
        if (m_sha256)
            m_description.image = checkedImage(image.filePath(), *m_sha256);
        return m_description;
    }

private:
    void readImage(const QDomElement &element)
    {
        const QString text = trimmedText(element);
        m_description.imagePath = text.isEmpty() ? std::string() : m_directory.absoluteFilePath(text).toStdString();
        m_sha256.reset();
        if (element.hasAttribute(QStringLiteral("sha256")))
            m_sha256 = element.attribute(QStringLiteral("sha256"));
    }
    void readRevision(const QDomElement &element)
    {
        m_description.revision = trimmedText(element).toStdString();
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
    std::optional<QString> m_sha256;
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
    void readPid(const QDomElement &element) { m_class->addHardwareId(trimmedText(element).toStdString()); }
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
        // Any value but "false" keeps such a package away from real controllers.
        m_services->setSimulatedOnly(element.hasAttribute(QStringLiteral("simulatedOnly")) &&
                                     element.attribute(QStringLiteral("simulatedOnly")) != QLatin1String("false"));
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
    void readProcessFilter(const QDomElement &element)
    {
        m_services->addProcessFilter(trimmedText(element).toStdString());
    }

    DeviceEnumeratorManager &m_enumerators;
    const QDir &m_directory;
    std::unique_ptr<UpdaterServices> m_services;
};

} // namespace

UpdaterConfiguration::UpdaterConfiguration(const QDir &packageDirectory, Platform::DeviceControl *control)
    : m_directory(packageDirectory)
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
    // The package travels as a folder: its files sit beside its description,
    // wherever that was given from (the program's folder by default).
    m_directory = QFileInfo(file).absoluteDir();
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

#include "UpdaterTestSupport.h"

#include "updater/core/Log.h"
#include "updater/engine/UpdaterConfiguration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Oxa;

namespace {

// A package directory with an image, and a config.xml built from pieces.
class ConfigurationTest : public testing::Test
{
protected:
    ConfigurationTest() { write(QStringLiteral("fw.bin"), QByteArray(130, '\x01')); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

public:
    static QByteArray package(const QByteArray &packager, const QByteArray &database)
    {
        return "<?xml version=\"1.0\"?>\n<updaterApp>" + packager + database + "</updaterApp>";
    }
    static QByteArray packager(const QByteArray &title = "Vorpad Firmware")
    {
        return "<packager><title>" + title +
               "</title><icon>icon.png</icon><displayImage>/abs/picture.png"
               "</displayImage></packager>";
    }
    static QByteArray deviceClass(const QByteArray &firmware = "<firmware><image>fw.bin</image><revision>1.10"
                                                               "</revision></firmware>",
                                  const QByteArray &enumerator = "USBClassicEnumerator")
    {
        return "<deviceClass name=\"Vorpad\"><enumerator class=\"" + enumerator +
               "\"/><pid>USB\\VID_041E&amp;PID_3F01</pid><pid>USB\\VID_041E&amp;PID_3F06</pid>" + firmware +
               "</deviceClass>";
    }
    static QByteArray database(const QByteArray &attribute = "", const QByteArray &content = deviceClass())
    {
        return "<database" + attribute + ">" + content + "<processFilter>ZELVorpad</processFilter></database>";
    }

protected:
    bool load(const QByteArray &bytes) { return configuration.load(write(QStringLiteral("config.xml"), bytes)); }
    bool logged(const std::string &start) const
    {
        return std::any_of(log.begin(), log.end(), [&](const std::string &line) { return line.rfind(start, 0) == 0; });
    }

    QTemporaryDir m_dir;
    UpdaterConfiguration configuration{QDir(m_dir.path()), nullptr};
    std::vector<std::string> log;
    UpdaterTest::QuietLog m_log{&log};
};

TEST_F(ConfigurationTest, aCompletePackageLoadsWithPathsResolvedAgainstTheProgramDirectory)
{
    ASSERT_TRUE(load(package(packager(), database())));
    const Packager &p = *configuration.packager();
    EXPECT_EQ(p.title(), QStringLiteral("Vorpad Firmware"));
    EXPECT_EQ(p.readme(), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("readme.txt")));
    EXPECT_EQ(p.icon(), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("icon.png")));
    EXPECT_EQ(p.displayImage(), QStringLiteral("/abs/picture.png"));
    const UpdaterServices &s = *configuration.services();
    ASSERT_EQ(s.deviceClasses().size(), 1u);
    const DeviceClass &c = *s.deviceClasses()[0];
    EXPECT_EQ(c.name(), "Vorpad");
    EXPECT_EQ(c.hardwareIds(), (std::vector<std::string>{"USB\\VID_041E&PID_3F01", "USB\\VID_041E&PID_3F06"}));
    ASSERT_NE(c.firmware(), nullptr);
    EXPECT_EQ(c.firmware()->imagePath, m_dir.filePath(QStringLiteral("fw.bin")).toStdString());
    EXPECT_EQ(c.firmware()->revision, "1.10");
    EXPECT_FALSE(c.firmware()->hasBuild);
    EXPECT_EQ(c.firmware()->blockSize, -1);
    EXPECT_NE(c.enumerator(), nullptr);
    EXPECT_EQ(s.processFilter(), std::vector<std::string>{"ZELVorpad"});
    EXPECT_TRUE(logged("config path: " + m_dir.filePath(QStringLiteral("config.xml")).toStdString()));
}

struct FailureCase {
    const char *name;
    QByteArray document;
    const char *logLine; // a line the failure logs
};

class ConfigurationFailures : public ConfigurationTest, public testing::WithParamInterface<FailureCase>
{
};

TEST_P(ConfigurationFailures, leaveThePackageUnconfigured)
{
    EXPECT_FALSE(load(GetParam().document));
    EXPECT_FALSE(configuration.configured());
    EXPECT_TRUE(logged(GetParam().logLine)) << GetParam().logLine;
}

std::ostream &operator<<(std::ostream &out, const FailureCase &c) { return out << c.name; }

using T = ConfigurationTest;

INSTANTIATE_TEST_SUITE_P(
    Configuration, ConfigurationFailures,
    testing::Values(
        FailureCase{"wrongRoot", "<updater><packager/></updater>", "incorrect root tag name: updater"},
        FailureCase{"notXml", "<updaterApp><packager>", "setContent failed at line 1, column "},
        FailureCase{"emptyTitle", T::package(T::packager(""), T::database()),
                    "exception caught: Packager - Invalid data"},
        FailureCase{"noPackager", T::package("", T::database()), "config path: "},
        FailureCase{"noDatabase", T::package(T::packager(), ""), "config path: "},
        FailureCase{
            "unknownEnumerator",
            T::package(T::packager(),
                       T::database("",
                                   T::deviceClass("<firmware><image>fw.bin</image><revision>1.10</revision></firmware>",
                                                  "HIDEnumerator"))),
            "exception caught: DeviceEnumeratorManager::InvalidEnumerator"},
        FailureCase{
            "missingImage",
            T::package(T::packager(),
                       T::database("", T::deviceClass(
                                           "<firmware><image>none.bin</image><revision>1.10</revision></firmware>"))),
            "exception caught: Invalid FirmwareDescription"},
        FailureCase{"imageNotGiven",
                    T::package(T::packager(),
                               T::database("", T::deviceClass("<firmware><revision>1.10</revision></firmware>"))),
                    "exception caught: Invalid FirmwareDescription"},
        FailureCase{
            "imageIsADirectory",
            T::package(T::packager(),
                       T::database("",
                                   T::deviceClass("<firmware><image>.</image><revision>1.10</revision></firmware>"))),
            "exception caught: Invalid FirmwareDescription"},
        // A broken part spoils the package even after good ones.
        FailureCase{"brokenSecondPackager", T::package(T::packager() + T::database(), T::packager("")),
                    "exception caught: Packager - Invalid data"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConfigurationTest, aMissingFileIsLoggedAndNotConfigured)
{
    EXPECT_FALSE(configuration.load(m_dir.filePath(QStringLiteral("absent.xml"))));
    EXPECT_TRUE(logged("UpdaterApp::loadConfiguration - file does not exist."));
    EXPECT_EQ(configuration.title(), QStringLiteral("Zel Firmware Updater"));
}

TEST_F(ConfigurationTest, aBrokenDatabaseKeepsThePackageTitleForTheMessage)
{
    EXPECT_FALSE(load(package(
        packager(),
        database("", deviceClass("<firmware><image>fw.bin</image><revision>1.10</revision></firmware>", "Other")))));
    EXPECT_EQ(configuration.title(), QStringLiteral("Vorpad Firmware"));
}

TEST_F(ConfigurationTest, allowDowngradeIsOffOnlyForTheExactTextFalse)
{
    const std::pair<QByteArray, bool> cases[] = {{"", true},
                                                 {" allowDowngrade=\"true\"", true},
                                                 {" allowDowngrade=\"false\"", false},
                                                 {" allowDowngrade=\"False\"", true},
                                                 {" allowDowngrade=\"0\"", true}};
    for (const auto &[attribute, allowed] : cases) {
        ASSERT_TRUE(load(package(packager(), database(attribute)))) << attribute.constData();
        EXPECT_EQ(configuration.services()->allowDowngrade(), allowed) << attribute.constData();
    }
}

TEST_F(ConfigurationTest, blockSizeCountsOnlyWhenAPositiveDecimal)
{
    const std::pair<QByteArray, int> cases[] = {{"0", -1}, {"-5", -1}, {"abc", -1}, {"0x40", -1}, {"128", 128}};
    for (const auto &[text, size] : cases) {
        ASSERT_TRUE(load(package(packager(), database("", deviceClass("<firmware><image>fw.bin</image><revision>1.10"
                                                                      "</revision><blockSize>" +
                                                                      text + "</blockSize></firmware>")))));
        EXPECT_EQ(configuration.services()->deviceClasses()[0]->firmware()->blockSize, size) << text.constData();
    }
}

TEST_F(ConfigurationTest, onlyTheFirstFirmwareCountsAndRepeatedSingleTagsKeepTheLast)
{
    write(QStringLiteral("fw2.bin"), "x");
    ASSERT_TRUE(load(
        package("<packager><title>First</title><title>Second</title></packager>",
                database("", deviceClass("<firmware><image>fw.bin</image><revision>1.10.260115</revision></firmware>"
                                         "<firmware><image>fw2.bin</image><revision>9.00</revision></firmware>")))));
    EXPECT_EQ(configuration.packager()->title(), QStringLiteral("Second"));
    const DeviceClass &c = *configuration.services()->deviceClasses()[0];
    EXPECT_EQ(c.firmwares().size(), 2u);
    EXPECT_EQ(c.firmware()->revision, "1.10.260115");
    EXPECT_TRUE(c.firmware()->hasBuild);
}

} // namespace

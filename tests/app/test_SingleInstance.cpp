#include "editor/app/Application.h"
#include "editor/app/ChannelFolder.h"
#include "editor/app/InstanceMessage.h"
#include "editor/app/SingleInstance.h"
#include "editor/app/files/BankFile.h"
#include "editor/core/model/CBPatch.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/ChannelFolderRules.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Reader = InstanceMessage::Reader;

// ---- The message reader ----------------------------------------------------

struct ReaderCase {
    const char *name;
    std::vector<QByteArray> pieces;
    Reader::State state;
    QString message;
};

QByteArray header(quint32 length)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(length, bytes.data());
    return bytes;
}

class MessageReader : public ::testing::TestWithParam<ReaderCase>
{
};

TEST_P(MessageReader, AssemblesOrRefuses)
{
    Reader reader;
    for (const QByteArray &piece : GetParam().pieces)
        reader.feed(piece);
    EXPECT_EQ(reader.state(), GetParam().state);
    EXPECT_EQ(reader.message(), GetParam().message);
}

const QByteArray Frame = InstanceMessage::encode(QStringLiteral("/tmp/bänk.vpb"));

INSTANTIATE_TEST_SUITE_P(
    Streams, MessageReader,
    ::testing::Values(ReaderCase{"Whole", {Frame}, Reader::State::Complete, QStringLiteral("/tmp/bänk.vpb")},
                      ReaderCase{"OneByteAtATime",
                                 [] {
                                     std::vector<QByteArray> bytes;
                                     for (char c : Frame)
                                         bytes.push_back(QByteArray(1, c));
                                     return bytes;
                                 }(),
                                 Reader::State::Complete, QStringLiteral("/tmp/bänk.vpb")},
                      ReaderCase{"Empty", {header(0)}, Reader::State::Complete, QString()},
                      ReaderCase{"Truncated", {Frame.left(Frame.size() - 1)}, Reader::State::NeedMore, QString()},
                      ReaderCase{"HeaderOnlyHalf", {header(3).left(2)}, Reader::State::NeedMore, QString()},
                      ReaderCase{
                          "TooLong", {header(InstanceMessage::MaxPayload + 1)}, Reader::State::Invalid, QString()},
                      ReaderCase{"BytesAfterTheMessage", {Frame + "x"}, Reader::State::Invalid, QString()},
                      ReaderCase{"MalformedUtf8",
                                 {header(2) + "\xff\xfe"},
                                 Reader::State::Complete,
                                 QString(2, QChar::ReplacementCharacter)}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- The channel between two instances -------------------------------------------

class Channel : public ::testing::Test
{
protected:
    QString identifier = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(Channel, TheFirstInstanceRunsAndLaterOnesHandOver)
{
    SingleInstance first(identifier);
    EXPECT_FALSE(first.sendMessage(QStringLiteral("ignored"), 5000)); // nobody runs: at once
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::messageReceived);

    const QString longMessage(200000, QLatin1Char('p'));
    EXPECT_TRUE(sendFromThread(identifier, longMessage, 5000));
    ASSERT_TRUE(received.count() == 1 || received.wait(2000));
    EXPECT_EQ(received.at(0).at(0).toString(), longMessage);
}

TEST_F(Channel, BadPeersNeitherBlockNorCrashTheRunningInstance)
{
    SingleInstance first(identifier);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::messageReceived);

    QLocalSocket silent, garbage, oversized;
    for (QLocalSocket *socket : {&silent, &garbage, &oversized})
        socket->connectToServer(first.socketPath());
    garbage.write(header(5) + "abcdefgh");
    oversized.write(header(0xFFFFFFFF));
    QCoreApplication::processEvents();

    EXPECT_TRUE(sendFromThread(identifier, QStringLiteral("after the others"), 5000));
    ASSERT_TRUE(received.count() >= 1 || received.wait(2000));
    EXPECT_EQ(received.last().at(0).toString(), QStringLiteral("after the others"));
    EXPECT_EQ(received.count(), 1);
}

// ---- The channel folder ------------------------------------------------------

TEST_F(ChannelFolderRules, IsCreatedPrivateInTheTemporaryFolder)
{
    const ChannelFolder::Result result = ChannelFolder::locate();
    EXPECT_EQ(result.path, folder);
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(ChannelFolderRules, RefusesAFolderOthersCanEnterOrOwn)
{
    ASSERT_TRUE(QDir().mkdir(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    SingleInstance open(QStringLiteral("refused"));
    EXPECT_FALSE(open.isUsable());
    EXPECT_FALSE(open.listen());
    EXPECT_FALSE(open.sendMessage(QString(), 100));

    ::chmod(QFile::encodeName(folder).constData(), 0700);
    EXPECT_TRUE(SingleInstance(QStringLiteral("accepted")).isUsable());
    if (::getuid() == 0) { // only root can give it away
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        EXPECT_FALSE(SingleInstance(QStringLiteral("foreign")).isUsable());
    }
}

TEST_F(ChannelFolderRules, RefusesALinkInPlaceOfTheFolder)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
    EXPECT_TRUE(ChannelFolder::locate().path.isEmpty());
}

} // namespace

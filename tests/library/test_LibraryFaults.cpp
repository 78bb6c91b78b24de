#include "editor/library/PatchLibrary.h"
#include "tests/library/LibraryTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace LibraryTestSupport;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void overwrite(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(at);
    file.write(bytes);
}

// A library file with a few entries, closed.
void makeLibrary(const QString &path, const std::vector<LibraryMigration> &migrations = libraryMigrations())
{
    PatchLibrary library(path, migrations);
    ASSERT_TRUE(library.add({patchCapture(1), patchCapture(2), bankCapture()}));
}

std::vector<LibraryMigration> versionTwo()
{
    std::vector<LibraryMigration> two = libraryMigrations();
    two.push_back({2, {"CREATE TABLE later(x)"}});
    return two;
}

struct Fault {
    const char *name;
    void (*prepare)(const QString &path);
    LibraryStatus::Mode mode;
    bool movedAside;
    qint64 entriesLeft; // what the library shows afterwards
};

const Fault faults[] = {
    {"EmptyFile", [](const QString &path) { ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)); },
     LibraryStatus::Mode::Writable, false, 0},
    {"Garbage",
     [](const QString &path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write(QByteArray(8192, 'x'));
     },
     LibraryStatus::Mode::Writable, true, 0},
    {"DamagedPage",
     [](const QString &path) {
         makeLibrary(path);
         overwrite(path, 4096 + 8, QByteArray(64, '\xEE')); // inside the entry table's first page
     },
     LibraryStatus::Mode::Writable, true, 0},
    {"NewerVersion", [](const QString &path) { makeLibrary(path, versionTwo()); }, LibraryStatus::Mode::ReadOnly, false,
     1 + 8}, // the bank and its distinct patches, which include the two
    {"FolderIsAFile",
     [](const QString &path) {
         QFile blocker(QFileInfo(path).absolutePath());
         ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
     },
     LibraryStatus::Mode::Unavailable, false, 0},
};

class LibraryFaults : public ::testing::TestWithParam<Fault>
{
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder())); }
    QString folder() const { return m_dir.filePath("vorpad"); }
    QString path() const { return folder() + "/library.sqlite"; }

    QTemporaryDir m_dir;
};

TEST_P(LibraryFaults, OnlyACorruptFileIsMovedAsideAndEditingGoesOn)
{
    const Fault &fault = GetParam();
    if (QString(fault.name) == "FolderIsAFile")
        QDir(folder()).removeRecursively();
    fault.prepare(path());
    const QByteArray before = contents(path());

    PatchLibrary library(path());
    const LibraryStatus status = library.status();
    EXPECT_EQ(status.mode, fault.mode) << status.reason.toStdString();
    EXPECT_EQ(!status.movedAside.isEmpty(), fault.movedAside);
    if (fault.movedAside) {
        EXPECT_EQ(contents(status.movedAside), before) << "the old file is kept as it was";
        EXPECT_TRUE(status.movedAside.startsWith(path() + ".damaged-"));
    }
    EXPECT_EQ(library.count(), fault.entriesLeft);

    QString error;
    const bool written = library.add({patchCapture(7)}, &error).has_value();
    EXPECT_EQ(written, fault.mode == LibraryStatus::Mode::Writable);
    if (!written) {
        EXPECT_TRUE(error.contains("read-only")) << error.toStdString();
        EXPECT_EQ(contents(path()), before) << "a file left alone is not touched";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LibraryFaults, ::testing::ValuesIn(faults),
                         [](const auto &info) { return std::string(info.param.name); });

// A folder that takes no new file: by its permissions, or, for the superuser
// whom permissions do not bind, by the file system's immutable flag.
class UnwritableFolder
{
public:
    explicit UnwritableFolder(const QString &path) : m_path(path) { m_ok = lock(true); }
    ~UnwritableFolder() { lock(false); }
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;
    bool ok() const { return m_ok; }

private:
    bool lock(bool on)
    {
        if (geteuid() != 0)
            return QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner |
                                                     (on ? QFile::Permissions() : QFile::WriteOwner));
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        const bool set = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                         ::ioctl(fd, FS_IOC_SETFLAGS,
                                 (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL, &flags)) == 0;
        if (fd >= 0)
            ::close(fd);
        return set;
    }

    QString m_path;
    bool m_ok = false;
};

TEST(LibraryFaults, AReadOnlyFolderOpensTheLibraryReadOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("library.sqlite");
    makeLibrary(path);
    UnwritableFolder unwritable(dir.path());
    if (!unwritable.ok())
        GTEST_SKIP() << "this file system keeps no folder from the superuser";
    PatchLibrary library(path);
    EXPECT_EQ(library.status().mode, LibraryStatus::Mode::ReadOnly);
    EXPECT_EQ(library.count(), 1 + 8); // the bank and its distinct patches, which include the two
    EXPECT_FALSE(library.add({patchCapture(7)}));
}

// Two processes writing at once: this test's program runs itself a second
// time as the other writer.
constexpr int CapturesPerWriter = 150;
constexpr char WriterVariable[] = "VORPAD_LIBRARY_WRITER";

void writeMany(PatchLibrary &library, int writer)
{
    for (int i = 0; i < CapturesPerWriter; ++i) {
        ASSERT_TRUE(library.add({namedCapture("W" + std::to_string(writer) + "-" + std::to_string(i))}))
            << "writer " << writer << " round " << i;
    }
}

TEST(LibraryWriters, SecondWriter)
{
    const QString path = qEnvironmentVariable(WriterVariable);
    if (path.isEmpty())
        GTEST_SKIP() << "run by TwoProcessesWritingAtOnceLoseNothing";
    PatchLibrary library(path);
    writeMany(library, 1);
}

TEST(LibraryWriters, TwoProcessesWritingAtOnceLoseNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("library.sqlite");
    char program[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", program, sizeof program - 1), 0);
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(WriterVariable, path);
    other.setProcessEnvironment(environment);
    other.start(program, {"--gtest_filter=LibraryWriters.SecondWriter"});
    ASSERT_TRUE(other.waitForStarted());

    PatchLibrary library(path);
    writeMany(library, 2);
    ASSERT_TRUE(other.waitForFinished(60000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardOutput().toStdString();

    EXPECT_EQ(library.count(), 2 * CapturesPerWriter);
    PatchLibrary reopened(path);
    EXPECT_EQ(reopened.status().mode, LibraryStatus::Mode::Writable) << "the quick check passes";
}

} // namespace

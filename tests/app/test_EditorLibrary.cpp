#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/EditorLibrary.h"
#include "editor/app/EditorSession.h"
#include "editor/app/MainWindow.h"
#include "editor/app/MessageParent.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/library/LibraryLocation.h"
#include "editor/library/LibraryWriter.h"
#include "editor/library/PatchLibrary.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SimulatedWorld.h"

#include <QFile>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

Brisel::RemoteControlManager &manager() { return Brisel::RemoteControlManager::instance(); }

bool sqlDriverLoaded()
{
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libqsqlite");
}

class EditorLibraryCapture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearSettings();
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toUtf8());
        Brisel::DeviceList::instance().refresh();
    }
    void TearDown() override
    {
        if (LibraryWriter *writer = EditorLibrary::instance().writer())
            writer->waitForDone();
        manager().connection().close();
        MessageParent::set(nullptr);
        qunsetenv("XDG_DATA_HOME");
    }

    QTemporaryDir m_dir;
    SimulatedWorld world;
};

// Notes, at the window's first paint, whether the library had been touched.
class PaintWitness : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            untouched = QSqlDatabase::connectionNames().isEmpty() && !sqlDriverLoaded() &&
                        EditorLibrary::instance().writer() == nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

    bool painted = false;
    bool untouched = false;
};

TEST_F(EditorLibraryCapture, NothingOpensTheLibraryBeforeTheFirstPaint)
{
    MainWindow window;
    MessageParent::set(&window);
    EditorLibrary::attach(&window);
    PaintWitness witness;
    window.installEventFilter(&witness); // called before the library's filter
    // The start-up download happens before the window paints; its capture waits.
    Brisel::DeviceList &devices = Brisel::DeviceList::instance();
    ASSERT_TRUE(devices.count() > 1 && DeviceSession::select(devices.record(1)));
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return witness.painted; }));
    EXPECT_TRUE(witness.untouched);

    ASSERT_TRUE(QTest::qWaitFor([] { return EditorLibrary::instance().writer() != nullptr; }));
    EditorLibrary::instance().writer()->waitForDone();
    PatchLibrary library(LibraryLocation::path(EditorSession::isSimulated()));
    EXPECT_EQ(library.find({}).front().kind, EntryKind::Bank) << "the download, kept after the paint";
}

TEST_F(EditorLibraryCapture, AFileLoadLeavesTheReplacedPatchInTheLibrary)
{
    MainWindow window;
    MessageParent::set(&window);
    window.show();
    EditorLibrary::attach();
    Brisel::DeviceList &devices = Brisel::DeviceList::instance();
    ASSERT_TRUE(devices.count() > 1 && DeviceSession::select(devices.record(1)) && manager().isConnected());

    const std::vector<Byte> before(manager().bank().patch(2).patchImage().begin(),
                                   manager().bank().patch(2).patchImage().end());
    const QString path = m_dir.filePath("new.vpp");
    const std::vector<Byte> loaded = FileBytes::defaultPatch(7);
    ASSERT_TRUE(SysExFile::writeAll(path, PatchFile::toBytes(loaded, FileBytes::defaultZones())));
    ASSERT_NE(before, loaded);
    ASSERT_TRUE(EditorFiles::instance().loadPatchFile(path, 2));

    LibraryWriter *writer = EditorLibrary::instance().writer();
    ASSERT_NE(writer, nullptr);
    writer->waitForDone();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return window.statusBar()->currentMessage() == "Slot 3 replaced; the previous patch is in the library";
    }));

    PatchLibrary library(LibraryLocation::path(EditorSession::isSimulated()));
    bool keptBefore = false, keptLoaded = false, keptDownload = false;
    for (const LibraryEntry &row : library.find({.limit = -1})) {
        const LibraryEntry e = *library.entry(row.id);
        keptBefore |= e.images.patch == before && std::any_of(e.sightings.begin(), e.sightings.end(),
                                                              [](const Sighting &s) { return s.slot == 2; });
        keptLoaded |= e.images.patch == loaded && !e.sightings.empty() && e.sightings.back().path == path;
        keptDownload |= e.kind == EntryKind::Bank;
    }
    EXPECT_TRUE(keptBefore) << "the replaced patch";
    EXPECT_TRUE(keptLoaded) << "the file";
    EXPECT_TRUE(keptDownload) << "the bank downloaded on connecting";
}

TEST_F(EditorLibraryCapture, ThePreferenceTurnsCaptureOff)
{
    AppSettings::setLibraryCapture(false);
    EditorLibrary::attach();
    const QString path = m_dir.filePath("new.vpp");
    ASSERT_TRUE(SysExFile::writeAll(path, PatchFile::toBytes(FileBytes::defaultPatch(7), FileBytes::defaultZones())));
    ASSERT_TRUE(EditorFiles::instance().loadPatchFile(path, 2));
    if (LibraryWriter *writer = EditorLibrary::instance().writer())
        writer->waitForDone();
    EXPECT_FALSE(QFile::exists(LibraryLocation::path(EditorSession::isSimulated())));
}

} // namespace

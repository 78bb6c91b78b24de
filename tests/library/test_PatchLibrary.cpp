#include "editor/app/files/BankFile.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/library/LibraryImport.h"
#include "editor/library/PatchLibrary.h"
#include "tests/library/LibraryTestSupport.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace LibraryTestSupport;

namespace {

class PatchLibraryTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath("vorpad/library.sqlite"); }

    QTemporaryDir m_dir;
    PatchLibrary m_library{path()};
    QString m_error;
};

TEST_F(PatchLibraryTest, SameContentIsOneEntrySeenWhereverItWasSeen)
{
    const auto first = m_library.add({patchCapture(3, controllerSlot(2)), patchCapture(3, file("/a.vpp")),
                                      patchCapture(3, file("/a.vpp")), patchCapture(3, {}, false), patchCapture(5)},
                                     &m_error);
    ASSERT_TRUE(first) << m_error.toStdString();
    const std::vector<qint64> &ids = *first;
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ(ids[1], ids[2]);
    EXPECT_NE(ids[0], ids[3]) << "a patch without zones is other content";
    EXPECT_NE(ids[0], ids[4]);
    EXPECT_EQ(m_library.count(), 3);

    const auto entry = m_library.entry(ids[0]);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "PelinorX PatchXX");
    EXPECT_EQ(entry->images.patch, FileBytes::defaultPatch(3));
    EXPECT_EQ(entry->images.zones, FileBytes::defaultZones());
    ASSERT_EQ(entry->sightings.size(), 2u) << "the same place twice is one sighting";
    EXPECT_EQ(entry->sightings[0].serial, "SER-1");
    EXPECT_EQ(entry->sightings[0].slot, 2);
    EXPECT_EQ(entry->sightings[1].path, "/a.vpp");
}

TEST_F(PatchLibraryTest, ABankKeepsItsSettingsAndItsPatchesInOrder)
{
    const auto ids = m_library.add({bankCapture(controllerSlot(-1))});
    ASSERT_TRUE(ids);
    const auto bank = m_library.entry(ids->front());
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->kind, EntryKind::Bank);
    EXPECT_EQ(bank->name, "PelinorX Bank 01");
    EXPECT_EQ(bank->settings, FileBytes::defaultSettings());
    ASSERT_EQ(bank->patchIds.size(), 16u);
    EXPECT_EQ(bank->patchIds[0], bank->patchIds[8]) << "slots 1 and 9 hold the same bytes";
    EXPECT_EQ(m_library.count(), 1 + 8);
    const auto ninth = m_library.entry(bank->patchIds[9]);
    ASSERT_TRUE(ninth);
    EXPECT_EQ(ninth->images.patch, FileBytes::defaultPatch(1));
    ASSERT_EQ(ninth->sightings.size(), 2u);
    EXPECT_EQ(ninth->sightings[0].slot + ninth->sightings[1].slot, 1 + 9) << "seen in slots 2 and 10";
}

TEST_F(PatchLibraryTest, ImagesTheModelRefusesNeverEnter)
{
    Capture badName = patchCapture(1);
    badName.patches[0].patch[0] = 0x01; // a control character in the name
    Capture shortBank = bankCapture();
    shortBank.patches.pop_back();
    Capture badZones = patchCapture(1);
    badZones.patches[0].zones.resize(10);
    const auto ids = m_library.add({badName, shortBank, badZones, patchCapture(2)});
    ASSERT_TRUE(ids);
    EXPECT_EQ(*ids, (std::vector<qint64>{0, 0, 0, ids->back()}));
    EXPECT_EQ(m_library.count(), 1);
}

TEST_F(PatchLibraryTest, SearchFindsNameNoteAndTagNewestFirst)
{
    Sighting older = file("/old.vpp");
    older.seen = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
    const auto ids = m_library.add({patchCapture(1, older), patchCapture(2), patchCapture(3)});
    ASSERT_TRUE(ids);
    const qint64 a = (*ids)[0], b = (*ids)[1], c = (*ids)[2];
    ASSERT_TRUE(m_library.addTags(a, {"Pads", "live"}));
    ASSERT_TRUE(m_library.addTags(a, {"pads"})) << "tags are case-insensitive and kept once";
    ASSERT_TRUE(m_library.setNote(b, "for the 100% song"));
    ASSERT_TRUE(m_library.setFavourite(c, true));
    EXPECT_FALSE(m_library.setNote(9999, "x"));
    EXPECT_FALSE(m_library.addTags(9999, {"x"}));
    EXPECT_EQ(m_library.status().mode, LibraryStatus::Mode::Writable) << "a refused statement is no file fault";

    auto ids_of = [this](const LibraryQuery &query) {
        std::vector<qint64> out;
        for (const LibraryEntry &e : m_library.find(query))
            out.push_back(e.id);
        return out;
    };
    EXPECT_EQ(ids_of({}), (std::vector<qint64>{c, b, a}));
    EXPECT_EQ(ids_of({.text = "PAD"}), (std::vector<qint64>{a}));
    EXPECT_EQ(ids_of({.text = "100%"}), (std::vector<qint64>{b}));
    EXPECT_EQ(ids_of({.text = "0%"}), (std::vector<qint64>{b})) << "% is matched literally";
    EXPECT_EQ(ids_of({.text = "patchxx"}).size(), 3u);
    EXPECT_EQ(ids_of({.text = "iv"}), (std::vector<qint64>{a})) << "a text too short for the index finds a tag";
    EXPECT_EQ(ids_of({.tag = "LIVE"}), (std::vector<qint64>{a}));
    EXPECT_EQ(ids_of({.favouritesOnly = true}), (std::vector<qint64>{c}));
    EXPECT_EQ(ids_of({.limit = 1, .offset = 1}), (std::vector<qint64>{b}));
    EXPECT_EQ(m_library.find({.tag = "live"}).front().tags, (QStringList{"live", "Pads"}));
}

TEST_F(PatchLibraryTest, ImportTakesEveryKindBelowTheFolderAndCountsTheRest)
{
    QDir root(m_dir.filePath("import"));
    ASSERT_TRUE(root.mkpath("deep/er"));
    const QByteArray patch = PatchFile::toBytes(FileBytes::defaultPatch(2), FileBytes::defaultZones());
    const std::vector<std::vector<Byte>> patches(16, FileBytes::defaultPatch(6)), zones(16, FileBytes::defaultZones());
    const QByteArray bank = BankFile::toBytes(FileBytes::defaultSettings(), patches, zones);
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("a.vpp"), patch));
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("deep/b.vpb"), bank));
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("deep/er/c.syx"), bank));
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("deep/er/d.syx"), patch + patch));
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("broken.vpp"), patch.left(100)));
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("bank-named.vpp"), bank)); // a patch file holds one patch
    ASSERT_TRUE(SysExFile::writeAll(root.filePath("notes.txt"), "hello"));

    int lastDone = 0, lastTotal = 0;
    const LibraryImport::Summary summary =
        LibraryImport::importFolder(m_library, root.path(), [&](int done, int total) {
            lastDone = done;
            lastTotal = total;
        });
    EXPECT_EQ(summary.imported, 4);
    EXPECT_EQ(summary.skipped, 2);
    EXPECT_TRUE(summary.error.isEmpty());
    EXPECT_EQ(lastDone, 6);
    EXPECT_EQ(lastTotal, 6);
    EXPECT_EQ(m_library.count(), 3) << "patch, bank, and the bank's one distinct patch";
    EXPECT_EQ(m_library.find({.text = "Bank"}).size(), 1u);
}

// A test-only second version: the runner brings a version-1 file forward and
// keeps what it held.
TEST(LibraryMigrations, AVersionOneFileMovesToVersionTwoKeepingItsEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("library.sqlite");
    qint64 id = 0;
    {
        PatchLibrary v1(path);
        id = v1.add({patchCapture(4)}).value().front();
    }
    std::vector<LibraryMigration> two = libraryMigrations();
    two.push_back({2, {"ALTER TABLE entry ADD COLUMN rating INTEGER NOT NULL DEFAULT 3"}});
    PatchLibrary v2(path, two);
    EXPECT_EQ(v2.status().mode, LibraryStatus::Mode::Writable);
    ASSERT_TRUE(v2.entry(id));
    EXPECT_EQ(v2.entry(id)->images.patch, FileBytes::defaultPatch(4));
    ASSERT_TRUE(v2.add({patchCapture(5)}));
    EXPECT_EQ(v2.count(), 2);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "migration-check");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        EXPECT_EQ(LibraryMigrations::fileVersion(db), 2);
        QSqlQuery rating(db);
        ASSERT_TRUE(rating.exec("SELECT rating FROM entry") && rating.next());
        EXPECT_EQ(rating.value(0).toInt(), 3);
    }
    QSqlDatabase::removeDatabase("migration-check");
}

} // namespace

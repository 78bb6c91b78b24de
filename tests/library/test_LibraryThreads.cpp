#include "editor/library/LibraryModel.h"
#include "editor/library/LibraryWriter.h"
#include "editor/library/PatchLibrary.h"
#include "tests/library/LibraryTestSupport.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace LibraryTestSupport;

namespace {

class LibraryThreads : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_library_threads";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }

    QTemporaryDir m_dir;
    std::shared_ptr<PatchLibrary> m_library = std::make_shared<PatchLibrary>(m_dir.filePath("library.sqlite"));
};

TEST_F(LibraryThreads, TheWriterKeepsCapturesInOrderOffTheCallersThread)
{
    LibraryWriter writer(m_library);
    QSignalSpy captured(&writer, &LibraryWriter::captured);
    for (int i = 0; i < 20; ++i)
        writer.capture(namedCapture("Take " + std::to_string(i)));
    writer.capture(Capture{}); // refused: no patch
    ASSERT_TRUE(QTest::qWaitFor([&] { return captured.size() == 20; }));
    std::vector<qint64> ids;
    for (const QList<QVariant> &signal : captured)
        ids.push_back(signal[0].toLongLong());
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(m_library->entry(ids.back())->name, "Take 19");
}

TEST_F(LibraryThreads, AFailingWriterSaysSoOnce)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("vorpad"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    LibraryWriter writer(std::make_shared<PatchLibrary>(dir.filePath("vorpad/library.sqlite")));
    QSignalSpy notices(&writer, &LibraryWriter::notice);
    writer.capture(patchCapture(1));
    writer.capture(patchCapture(2));
    writer.waitForDone();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0][0].toString().contains("read-only"));
}

TEST_F(LibraryThreads, TheModelShowsTheLatestSearchsRows)
{
    ASSERT_TRUE(m_library->add({namedCapture("Strings"), namedCapture("Brass"), namedCapture("Strings 2")}));
    LibraryModel model(m_library);
    QSignalSpy finished(&model, &LibraryModel::searchFinished);
    model.search({.text = "Brass"});
    model.search({.text = "String"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 1; }));
    ASSERT_EQ(model.rowCount(), 2) << "the first answer was overtaken";
    EXPECT_EQ(model.index(0, LibraryModel::Name).data().toString(), "Strings 2");
    EXPECT_EQ(model.index(1, LibraryModel::Kind).data().toString(), "Patch");
    EXPECT_EQ(model.index(1, 0).data(LibraryModel::IdRole).toLongLong(), model.entryAt(1).id);
}

} // namespace

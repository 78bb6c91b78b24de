#include "ViewsTestSupport.h"

#include "editor/app/deviceview/DeviceView.h"
#include "editor/app/deviceview/DropBankWidgets.h"
#include "editor/app/deviceview/PatchListModel.h"
#include "editor/app/deviceview/PatchListWidget.h"
#include "editor/app/revert/RevertManager.h"
#include "editor/core/DeviceList.h"
#include "tests/support/SimulatedWorld.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

// A device view on one simulated 49-key controller, not yet connected.
class DeviceViewTest : public ViewsFixture
{
protected:
    void SetUp() override
    {
        ViewsFixture::SetUp();
        QSettings().setValue(QStringLiteral("Revert/Backup Path"), dir.path());
        devices = std::make_unique<Brisel::DeviceList>();
        ASSERT_EQ(devices->count(), 2);
        reverts = std::make_unique<RevertManager>(*manager);
        auto select = [this](const Brisel::DeviceRecord &record) { return reverts->selectDeviceAndBackUp(record); };
        view = std::make_unique<DeviceView>(
            DeviceViewServices{*manager, *devices, *files, [this] { ++patchQuestions; }, select});
        // Laid out, so rows have their places for the pointer.
        view->show();
    }

    void TearDown() override
    {
        view.reset();
        reverts.reset();
        devices.reset();
        ViewsFixture::TearDown();
    }

    PatchListWidget &list() { return *view->patchList(); }
    QColor rowColour(int row) { return list().model()->index(row, 1).data(Qt::ForegroundRole).value<QColor>(); }
    QString rowName(int row) { return list().model()->index(row, 1).data().toString(); }

    SimulatedWorld world;
    std::unique_ptr<Brisel::DeviceList> devices;
    std::unique_ptr<RevertManager> reverts;
    std::unique_ptr<DeviceView> view;
    int patchQuestions = 0;
};

// ---- moving patches ------------------------------------------------------

struct ButtonCase {
    int slot;
    bool upEnabled;
    bool downEnabled;
    QStringList menuOnRow;
};

class MoveButtons : public DeviceViewTest, public ::testing::WithParamInterface<ButtonCase>
{
};

TEST_P(MoveButtons, FollowTheCurrentSlotAndTheMenuFollowsTheRow)
{
    const ButtonCase c = GetParam();
    manager->selectPatch(c.slot);
    EXPECT_EQ(view->moveUpButton()->isEnabled(), c.upEnabled);
    EXPECT_EQ(view->moveDownButton()->isEnabled(), c.downEnabled);
    EXPECT_EQ(list().currentIndex().row(), c.slot);

    const QPoint onRow = list().visualRect(list().model()->index(c.slot, 1)).center();
    std::unique_ptr<QMenu> menu = list().contextMenuAt(onRow);
    ASSERT_TRUE(menu);
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, c.menuOnRow);
}

INSTANTIATE_TEST_SUITE_P(Slots, MoveButtons,
                         ::testing::Values(ButtonCase{0, false, true, {"Move Down"}},
                                           ButtonCase{7, true, true, {"Move Up", "Move Down"}},
                                           ButtonCase{15, true, false, {"Move Up"}}));

TEST_F(DeviceViewTest, ContextMenuOutsideTheRowsHasNoMenu)
{
    list().setFixedHeight(400);
    EXPECT_FALSE(list().contextMenuAt(QPoint(10, 16 * PatchListWidget::RowHeight + 30)));
}

TEST_F(DeviceViewTest, MovingSwapsWithTheNeighbourAndTheSelectionFollows)
{
    nameSlots();
    manager->selectPatch(5);

    QTest::mouseClick(view->moveUpButton(), Qt::LeftButton);
    EXPECT_EQ(slotName(4), "P6");
    EXPECT_EQ(slotName(5), "P5");
    EXPECT_EQ(manager->currentPosition(), 4);
    EXPECT_EQ(list().currentIndex().row(), 4);
    EXPECT_EQ(rowName(4), "P6");

    QTest::mouseClick(view->moveDownButton(), Qt::LeftButton);
    QTest::mouseClick(view->moveDownButton(), Qt::LeftButton);
    EXPECT_EQ(slotName(6), "P6");
    EXPECT_EQ(slotName(5), "P7");
    EXPECT_EQ(manager->currentPosition(), 6);
    EXPECT_EQ(list().selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(list().selectionModel()->selectedRows().first().row(), 6);
    EXPECT_EQ(patchQuestions, 0) << "moving is not switching patches";
}

TEST_F(DeviceViewTest, MovingAtTheEndsChangesNothing)
{
    nameSlots();
    list().moveUp();
    EXPECT_EQ(slotName(0), "P1");
    manager->selectPatch(15);
    list().moveDown();
    EXPECT_EQ(slotName(15), "P16");
    EXPECT_FALSE(manager->bank().hasModifiedPatches());
}

// ---- rows follow the core ------------------------------------------------

TEST_F(DeviceViewTest, RowsShowNumbersAndNamesAndTurnRedWhenModified)
{
    nameSlots();
    EXPECT_EQ(list().model()->index(3, 0).data().toInt(), 4);
    EXPECT_EQ(rowName(3), "P4");
    EXPECT_EQ(rowColour(3), QColor(Qt::black));

    QSignalSpy changed(list().model(), &QAbstractItemModel::dataChanged);
    manager->bank().patch(3).name().setValue("Strings");
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 3);
    EXPECT_EQ(changed.last().at(1).value<QModelIndex>().column(), 1);
    EXPECT_EQ(rowName(3), "Strings");

    manager->bank().patch(3).setPatchImage(namedPatch("Brass"));
    EXPECT_EQ(rowColour(3), QColor(Qt::red));
    EXPECT_EQ(rowColour(2), QColor(Qt::black));

    // Saving the bank clears the marks.
    ASSERT_TRUE(files->saveBankFile(dir.filePath("saved.vpb")));
    EXPECT_EQ(rowColour(3), QColor(Qt::black));
}

TEST_F(DeviceViewTest, ModelAnswersOnlyForItsCells)
{
    const QAbstractItemModel &model = *list().model();
    EXPECT_EQ(model.rowCount(), 16);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_FALSE(model.index(16, 0).isValid());
    EXPECT_FALSE(model.index(0, 0).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.index(0, 0).data(Qt::FontRole).value<QFont>().pointSize(), 8);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsDropEnabled);
    EXPECT_FALSE(model.flags(QModelIndex()) & Qt::ItemIsDropEnabled);
    EXPECT_EQ(model.mimeTypes(), QStringList{"text/uri-list"});
}

TEST_F(DeviceViewTest, ListHasItsFixedGeometry)
{
    EXPECT_EQ(list().width(), 148);
    EXPECT_EQ(list().height(), 228);
    EXPECT_EQ(list().rowHeight(0), 14);
    EXPECT_EQ(list().columnWidth(0), 24);
    EXPECT_EQ(list().columnWidth(1), 120);
}

TEST_F(DeviceViewTest, PickingARowAsksThePatchQuestionThenSelectsIt)
{
    nameSlots();
    manager->selectPatch(2);
    const int before = patchQuestions;
    list().setCurrentIndex(list().model()->index(9, 1));
    EXPECT_EQ(patchQuestions, before + 1);
    EXPECT_EQ(manager->currentPosition(), 9);
    EXPECT_EQ(manager->activePatch().name().value(), "P10");
    EXPECT_EQ(view->moveUpButton()->isEnabled(), true);

    // The current row again: nothing to switch, nothing to ask.
    list().setCurrentIndex(list().model()->index(9, 0));
    EXPECT_EQ(patchQuestions, before + 1);
}

TEST_F(DeviceViewTest, SelectionFollowsTheCoreWithoutAsking)
{
    manager->selectPatch(11);
    EXPECT_EQ(list().currentIndex().row(), 11);
    EXPECT_EQ(patchQuestions, 0);
}

// ---- drops ---------------------------------------------------------------

// Sends a drag enter, a drag move and, when both are accepted, a drop; true
// when the drop was accepted. The modifiers choose the proposed action as a
// file manager would (Shift: move).
bool dragAndDrop(QWidget *target, QMimeData *data, QPoint at = QPoint(5, 5),
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction, Qt::DropAction *performed = nullptr)
{
    std::unique_ptr<QMimeData> owner(data);
    QDragEnterEvent enter(at, possible, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    // As the window system does: a move starts with the answer to the enter.
    QDragMoveEvent move(at, possible, data, Qt::LeftButton, modifiers);
    move.setDropAction(enter.dropAction());
    move.accept();
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(at, possible, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &drop);
    if (performed)
        *performed = drop.dropAction();
    return drop.isAccepted();
}

struct BankDropCase {
    const char *name;
    std::function<QList<QUrl>(const QTemporaryDir &)> urls;
    bool loads;
    QStringList reports;
};

class BankDrops : public DeviceViewTest, public ::testing::WithParamInterface<BankDropCase>
{
};

QUrl fileIn(const QTemporaryDir &dir, const char *name) { return QUrl::fromLocalFile(dir.filePath(name)); }

TEST_P(BankDrops, OnTheViewAndItsBankWidgetsLoadOnlyAGoodBankFile)
{
    const BankDropCase c = GetParam();
    write("good.vpb", bankBytes("B"));
    write("bad.vpb", QByteArray("\xF0\x18\x42\x00\x7F\x13\x00\xF7", 8));
    write("good.vpp", patchBytes("X"));
    write("good.txt", bankBytes("B"));
    const std::vector<QWidget *> targets{view.get(), view->bankNameField(), view->findChild<DropBankLabel *>()};
    for (QWidget *target : targets) {
        SCOPED_TRACE(target->metaObject()->className());
        nameSlots();
        feedback.reports.clear();
        Qt::DropAction performed = Qt::IgnoreAction;
        const bool accepted = dragAndDrop(target, urlData(c.urls(dir)), QPoint(5, 5), Qt::ShiftModifier,
                                          Qt::CopyAction | Qt::MoveAction, &performed);
        EXPECT_EQ(accepted, c.loads);
        EXPECT_EQ(slotName(7), c.loads ? "B8" : "P8");
        EXPECT_EQ(feedback.reports, c.reports);
        if (c.loads) {
            EXPECT_EQ(performed, Qt::CopyAction) << "a moved file would be deleted by the drag's source";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BankDrops,
    ::testing::Values(
        BankDropCase{"Good", [](const QTemporaryDir &d) { return QList<QUrl>{fileIn(d, "good.vpb")}; }, true, {}},
        BankDropCase{"Invalid",
                     [](const QTemporaryDir &d) { return QList<QUrl>{fileIn(d, "bad.vpb")}; },
                     false,
                     {"This bank file is invalid"}},
        BankDropCase{"Missing",
                     [](const QTemporaryDir &d) { return QList<QUrl>{fileIn(d, "gone.vpb")}; },
                     false,
                     {"This bank file is invalid"}},
        BankDropCase{"PatchFile", [](const QTemporaryDir &d) { return QList<QUrl>{fileIn(d, "good.vpp")}; }, false, {}},
        BankDropCase{
            "OtherSuffix", [](const QTemporaryDir &d) { return QList<QUrl>{fileIn(d, "good.txt")}; }, false, {}},
        BankDropCase{"TwoFiles",
                     [](const QTemporaryDir &d) {
                         return QList<QUrl>{fileIn(d, "good.vpb"), fileIn(d, "good.vpb")};
                     },
                     false,
                     {}},
        BankDropCase{"NotLocal",
                     [](const QTemporaryDir &) { return QList<QUrl>{QUrl("https://example.org/good.vpb")}; },
                     false,
                     {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DeviceViewTest, TextDraggedOnTheBankNameIsRefused)
{
    auto *data = new QMimeData;
    data->setText(QStringLiteral("Typed"));
    EXPECT_FALSE(dragAndDrop(view->bankNameField(), data));
    EXPECT_EQ(view->bankNameField()->text(), QString::fromStdString(manager->bank().name().value()));
}

TEST_F(DeviceViewTest, LinkDragIsRefused)
{
    write("good.vpb", bankBytes("B"));
    EXPECT_FALSE(
        dragAndDrop(view.get(), urlData({fileIn(dir, "good.vpb")}), QPoint(5, 5), Qt::NoModifier, Qt::LinkAction));
}

struct PatchDropCase {
    const char *name;
    const char *file;
    int row;
    bool modified;
    bool loads;
    int questions;
    QStringList reports;
};

class PatchDrops : public DeviceViewTest, public ::testing::WithParamInterface<PatchDropCase>
{
};

TEST_P(PatchDrops, OnARowLoadIntoThatSlot)
{
    const PatchDropCase c = GetParam();
    write("good.vpp", patchBytes("Dropped"));
    write("bad.vpp", QByteArray("\xF0\x18\x42\x00\x7F\x11\x00\x00\xF7", 9));
    write("good.vpb", bankBytes("B"));
    nameSlots();
    manager->selectPatch(2);
    if (c.modified)
        manager->activePatch().name().setValue("Edited");
    const int before = patchQuestions;

    const QPoint onRow = list().visualRect(list().model()->index(c.row, 1)).center();
    const bool accepted = dragAndDrop(list().viewport(), urlData({fileIn(dir, c.file)}), onRow);

    EXPECT_EQ(accepted, c.loads);
    EXPECT_EQ(patchQuestions - before, c.questions);
    EXPECT_EQ(feedback.reports, c.reports);
    EXPECT_EQ(slotName(c.row), c.loads ? "Dropped" : "P" + std::to_string(c.row + 1));
    EXPECT_EQ(manager->currentPosition(), c.loads ? c.row : 2);
    EXPECT_EQ(list().currentIndex().row(), manager->currentPosition());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PatchDrops,
    ::testing::Values(PatchDropCase{"OtherRowWhileModifiedAsks", "good.vpp", 5, true, true, 1, {}},
                      PatchDropCase{"OtherRowUnmodified", "good.vpp", 5, false, true, 0, {}},
                      PatchDropCase{"CurrentRowNeverAsks", "good.vpp", 2, true, true, 0, {}},
                      PatchDropCase{"Invalid", "bad.vpp", 5, false, false, 0, {"This patch file is invalid"}},
                      PatchDropCase{"Missing", "gone.vpp", 5, false, false, 0, {"This patch file is invalid"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DeviceViewTest, BankFileDroppedOnTheListIsTakenByTheViewAroundIt)
{
    write("good.vpb", bankBytes("B"));
    nameSlots();
    manager->selectPatch(2);
    const QPoint onRow = list().visualRect(list().model()->index(5, 1)).center();
    EXPECT_TRUE(dragAndDrop(list().viewport(), urlData({fileIn(dir, "good.vpb")}), onRow));
    EXPECT_EQ(slotName(5), "B6");
    EXPECT_EQ(manager->currentPosition(), 0) << "the bank file's current patch";
    EXPECT_EQ(patchQuestions, 0);
}

// ---- device and bank name ------------------------------------------------

TEST_F(DeviceViewTest, ComboListsTheDevicesWithAnEmptyFirstItem)
{
    QComboBox &combo = *view->deviceCombo();
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QString());
    EXPECT_EQ(combo.itemText(1).toStdString(), devices->record(1).name);
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST_F(DeviceViewTest, PickingADeviceConnectsRemembersItAndBacksUp)
{
    view->deviceSelected(1);
    ASSERT_TRUE(manager->isConnected());
    EXPECT_EQ(view->deviceCombo()->currentIndex(), 1);
    EXPECT_EQ(QSettings().value("Settings/Last Device").toString().toStdString(), devices->record(1).name);
    EXPECT_EQ(reverts->count(), 1) << "one backup at once after connecting";

    // The device that is already current: nothing reaches the manager.
    QSettings().remove("Settings/Last Device");
    const int requests = world.controller().requestCount();
    view->deviceSelected(1);
    EXPECT_EQ(world.controller().requestCount(), requests);
    EXPECT_FALSE(QSettings().contains("Settings/Last Device"));
}

TEST_F(DeviceViewTest, DeviceThatFailsToConnectLeavesTheLastDeviceAlone)
{
    QSettings().setValue("Settings/Last Device", "Before");
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    view->deviceSelected(1);
    EXPECT_FALSE(manager->isConnected());
    EXPECT_EQ(QSettings().value("Settings/Last Device").toString(), "Before");
    EXPECT_EQ(view->deviceCombo()->currentIndex(), 0);
    EXPECT_EQ(reverts->count(), 0);
}

TEST_F(DeviceViewTest, BankNameIsStoredTrimmedAndShownAsTheCoreHasIt)
{
    view->bankNameField()->setText(QStringLiteral("   Live Set  "));
    view->bankNameEdited();
    EXPECT_EQ(manager->bank().name().value(), "Live Set");
    EXPECT_EQ(view->bankNameField()->text(), QStringLiteral("Live Set"));

    // A name the controller cannot show is refused; the field shows the old one.
    view->bankNameField()->setText(QStringLiteral("Caf\u00e9"));
    view->bankNameEdited();
    EXPECT_EQ(manager->bank().name().value(), "Live Set");
    EXPECT_EQ(view->bankNameField()->text(), QStringLiteral("Live Set"));
}

TEST_F(DeviceViewTest, DestroyingTheViewDetachesItsObservers)
{
    // Going while the bank name is being edited: the field loses the focus
    // on the way out.
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->bankNameField()->setFocus();
    view->bankNameField()->setText(QStringLiteral("Half typed"));
    view.reset();
    manager->selectPatch(4);
    manager->bank().patch(4).name().setValue("After");
    manager->bank().name().setValue("After");
    SUCCEED();
}

} // namespace

// The skinned buttons driven with QTest events: clicks, keys, toggling, repeat,
// exclusive groups and the default button.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelButtonGroup.h"
#include "editor/skin/CZelPushButton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

TEST(AbstractButton, MouseClickEmitsPressReleaseAndClick)
{
    CZelPushButton button;
    button.resize(40, 20);
    QSignalSpy pressed(&button, &CZelAbstractButton::pressed);
    QSignalSpy released(&button, &CZelAbstractButton::released);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.isDown());
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

// Counts the pointer events that reach it from its children.
class PointerRecorder : public QWidget
{
public:
    int received = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++received; }
    void mouseReleaseEvent(QMouseEvent *) override { ++received; }
    void mouseDoubleClickEvent(QMouseEvent *) override { ++received; }
    void mouseMoveEvent(QMouseEvent *) override { ++received; }
    void wheelEvent(QWheelEvent *) override { ++received; }
    void contextMenuEvent(QContextMenuEvent *) override { ++received; }
};

TEST(AbstractButton, DisabledButtonSwallowsPointerEventsInsteadOfPassingThemOn)
{
    PointerRecorder parent;
    parent.resize(100, 60);
    auto *button = new CZelPushButton(&parent);
    button->setGeometry(10, 10, 40, 20);
    button->setEnabled(false);
    const QPointF at(5, 5);
    const QPointF global = button->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QWheelEvent wheel(at, global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at.toPoint(), global.toPoint());
    for (QEvent *event : std::initializer_list<QEvent *>{&press, &release, &twice, &move, &wheel, &menu}) {
        QApplication::sendEvent(button, event);
        EXPECT_EQ(parent.received, 0) << event->type();
    }
    EXPECT_FALSE(button->isDown());
}

TEST(AbstractButton, SpaceClicksAndEscapeCancels)
{
    CZelPushButton button;
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QSignalSpy released(&button, &CZelAbstractButton::released);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyPress(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Escape);
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(released.count(), 2);
}

TEST(AbstractButton, CheckableButtonsToggleOnClick)
{
    CZelPushButton button;
    QSignalSpy toggled(&button, &CZelAbstractButton::toggled);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    button.setChecked(true); // not checkable yet
    EXPECT_FALSE(button.isChecked());
    button.setCheckable(true);
    button.click();
    EXPECT_TRUE(button.isChecked());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_TRUE(clicked[0][0].toBool());
    button.setChecked(true);
    EXPECT_EQ(toggled.count(), 1);
    button.toggle();
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(toggled.count(), 2);
}

TEST(AbstractButton, AutoRepeatClicksWhileHeld)
{
    CZelPushButton button;
    button.resize(40, 20);
    button.setAutoRepeat(true);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(clicked.count() >= 2, 5000);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    const qsizetype count = clicked.count();
    QTest::qWait(150);
    EXPECT_EQ(clicked.count(), count);
}

TEST(AbstractButton, AnimateClickPressesThenClicks)
{
    CZelPushButton button;
    QSignalSpy pressed(&button, &CZelAbstractButton::pressed);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    button.animateClick(10);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_TRUE(button.isDown());
    EXPECT_EQ(clicked.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, 5000);
    EXPECT_FALSE(button.isDown());
}

class ButtonGroupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto &button : buttons) {
            button = new CZelPushButton(&parent);
            button->setCheckable(true);
            group.addButton(button);
        }
    }
    QWidget parent;
    CZelButtonGroup group;
    CZelPushButton *buttons[3] = {};
};

TEST_F(ButtonGroupTest, ExclusiveGroupKeepsOneButtonChecked)
{
    QSignalSpy clicked(&group, &CZelButtonGroup::buttonClicked);
    buttons[0]->click();
    buttons[2]->click();
    EXPECT_FALSE(buttons[0]->isChecked());
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_EQ(group.checkedButton(), buttons[2]);
    buttons[2]->click(); // unchecking the checked one is refused
    EXPECT_TRUE(buttons[2]->isChecked());
    buttons[2]->setChecked(false);
    EXPECT_TRUE(buttons[2]->isChecked());
    ASSERT_EQ(clicked.count(), 3);
    EXPECT_EQ(clicked[2][0].value<CZelAbstractButton *>(), buttons[2]);
}

TEST_F(ButtonGroupTest, AddingACheckedButtonMovesItOutOfItsOldGroup)
{
    buttons[1]->setChecked(true);
    CZelButtonGroup other;
    CZelPushButton extra(&parent);
    extra.setCheckable(true);
    extra.setChecked(true);
    other.addButton(&extra);
    group.addButton(&extra);
    EXPECT_EQ(extra.group(), &group);
    EXPECT_TRUE(other.buttons().isEmpty());
    EXPECT_EQ(group.checkedButton(), &extra);
    EXPECT_FALSE(buttons[1]->isChecked());
    group.removeButton(&extra);
}

TEST_F(ButtonGroupTest, NonExclusiveGroupLetsButtonsUncheck)
{
    group.setExclusive(false);
    buttons[0]->click();
    buttons[1]->click();
    buttons[1]->click();
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_FALSE(buttons[1]->isChecked());
}

TEST(PushButton, ReturnClicksAnAutoDefaultButton)
{
    CZelPushButton button;
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);
    button.setAutoDefault(true);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace

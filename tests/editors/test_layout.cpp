#include "editor/app/editors/PatchEditorView.h"
#include "editor/app/editors/ZonesEditorView.h"
#include "editor/skin/CZelLayoutCheck.h"
#include "tests/editors/EditorTestSupport.h"

namespace {

class Layout : public EditorFixture
{
};

// Every widget of both tabs sits inside its panel and clear of the others.
TEST_F(Layout, BothTabsAreLaidOutWithoutOverlaps)
{
    PatchEditorView patch(*manager);
    ZonesEditorView zones(*manager);
    for (QWidget *panel : {static_cast<QWidget *>(&patch), static_cast<QWidget *>(&zones)}) {
        panel->resize(panel->sizeHint());
        const QStringList problems = CZelLayoutCheck::problems(panel);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_GT(patch.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 200);
    EXPECT_GT(zones.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 50);
}

// The longest value of a field fits inside it with a pixel to spare on each side of the edit's own margins.
TEST_F(Layout, FieldsHoldTheirLongestValues)
{
    PatchEditorView patch(*manager);
    const struct {
        const char *field;
        const char *longest;
    } cases[] = {{"CONTROLS_1/KNOBCONTROL_VALUE", "16383"},
                 {"CONTROLS_1/KNOBCONTROL_CCNUMBER", "127"},
                 {"CONTROLS_PITCHWHEEL/WHEELCONTROL_VALUE", "127"},
                 {"PROGRAMCHANGE_16/PROGRAMCHANGE_PROG", "127"}};
    for (const auto &c : cases) {
        auto *edit = child<QLineEdit>(&patch, QString::fromLatin1(c.field));
        const int room = edit->contentsRect().width() - 2 * 2;
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(c.longest)) + 2, room) << c.field;
    }
}

} // namespace

namespace {

TEST(LayoutCheck, ReportsOverlapsAndWidgetsLeavingThePanel)
{
    QWidget panel;
    panel.resize(100, 100);
    const struct {
        const char *name;
        QRect geometry;
    } children[] = {{"a", {0, 0, 10, 10}}, {"b", {10, 0, 10, 10}}, {"c", {19, 9, 5, 5}}, {"d", {95, 50, 6, 6}}};
    for (const auto &c : children) {
        auto *child = new QWidget(&panel);
        child->setObjectName(QString::fromLatin1(c.name));
        child->setGeometry(c.geometry);
    }
    EXPECT_EQ(CZelLayoutCheck::problems(&panel),
              QStringList({QStringLiteral("overlap: b and c"), QStringLiteral("outside the panel: d 95,50 6x6")}));
}

} // namespace

// The five skin readers, node properties and the engine's loading and look-ups.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelDatabases.h"
#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QFile>
#include <QImage>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

template <typename Database, typename... Args>
bool read(Database &database, const QByteArray &text, Args... args)
{
    QBuffer buffer;
    buffer.setData(text);
    return database.readXml(&buffer, args...);
}

QByteArray layouts(const QByteArray &entries) { return "<?xml version=\"1.0\"?>\n<layouts>" + entries + "</layouts>"; }

// ------------------------------------------------------------- layouts

struct RectCase {
    const char *entry;
    QRect expected;
};

class LayoutReader : public ::testing::TestWithParam<RectCase>
{
};

TEST_P(LayoutReader, ParsesCoordinates)
{
    CZelLayoutDatabase database;
    ASSERT_TRUE(read(database, layouts(GetParam().entry), QString()));
    EXPECT_EQ(database.value(QStringLiteral("K")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, LayoutReader,
    ::testing::Values(RectCase{"<rectangle><key>K</key><x>77</x><y>12</y></rectangle>", QRect(77, 12, 0, 0)},
                      RectCase{"<rectangle><key>K</key><x>1</x><y>2</y><w>30</w><h>40</h></rectangle>",
                               QRect(1, 2, 30, 40)},
                      RectCase{"<rectangle><key>K</key><x>-5</x><y>abc</y><w>-3</w></rectangle>", QRect(5, 0, 3, 0)},
                      RectCase{"<rectangle><key>K</key></rectangle>", QRect(0, 0, 0, 0)}));

TEST(LayoutReaderRules, LastDefinitionWinsAndEmptyKeysAreSkipped)
{
    CZelLayoutDatabase database;
    ASSERT_TRUE(read(database,
                     layouts("<rectangle><key>A</key><x>1</x><y>1</y></rectangle>"
                             "<rectangle><key></key><x>9</x><y>9</y></rectangle>"
                             "<rectangle><key>A</key><x>2</x><y>3</y></rectangle>"),
                     QString()));
    EXPECT_EQ(database.count(), 1);
    EXPECT_EQ(database.value(QStringLiteral("A")), QRect(2, 3, 0, 0));
}

TEST(LayoutReaderRules, WidthZeroRectangleHasRightBeforeLeft)
{
    CZelLayoutDatabase database;
    ASSERT_TRUE(read(database, layouts("<rectangle><key>A</key><x>7</x><y>33</y></rectangle>"), QString()));
    const QRect rect = database.value(QStringLiteral("A"));
    EXPECT_EQ(rect.right(), 6);
    EXPECT_EQ(rect.bottom(), 32);
}

// ------------------------------------------------------------- images and groups

const QByteArray ImagesWithGroups =
    "<images path=\":/root/\">"
    "<image><key>ROOT</key><file>root.bmp</file></image>"
    "<group name=\"dark\" path=\":/dark/\"><image><key>G</key><file>g1.bmp</file></image>"
    "<section><image><key>DEEP</key><file>deep.bmp</file></image></section></group>"
    "<group name=\"light\" path=\":/light/\"><image><key>G</key><file>light.bmp</file></image></group>"
    "<group name=\"dark\" path=\":/dark2/\"><image><key>LATER</key><file>later.bmp</file></image></group>"
    "<image><key></key><file>nokey.bmp</file></image>"
    "<image><key>NOFILE</key><file></file></image>"
    "</images>";

TEST(ImageReader, RootModeReadsOnlyRootEntriesWithRootPath)
{
    CZelImageDatabase database;
    ASSERT_TRUE(read(database, ImagesWithGroups, QString()));
    EXPECT_EQ(database.count(), 1);
    EXPECT_EQ(database.value(QStringLiteral("ROOT")), QStringLiteral(":/root/root.bmp"));
}

TEST(ImageReader, GroupModeReadsEveryMatchingGroupAtAnyDepthWithTheGroupPath)
{
    CZelImageDatabase database;
    ASSERT_TRUE(read(database, ImagesWithGroups, QStringLiteral("dark")));
    EXPECT_FALSE(database.contains(QStringLiteral("ROOT")));
    EXPECT_EQ(database.value(QStringLiteral("G")), QStringLiteral(":/dark/g1.bmp"));
    EXPECT_EQ(database.value(QStringLiteral("DEEP")), QStringLiteral(":/dark/deep.bmp"));
    EXPECT_EQ(database.value(QStringLiteral("LATER")), QStringLiteral(":/dark2/later.bmp"));
    EXPECT_EQ(database.count(), 3);
}

TEST(ImageReader, UnknownGroupReadsNothingButSucceeds)
{
    CZelImageDatabase database;
    EXPECT_TRUE(read(database, ImagesWithGroups, QStringLiteral("none")));
    EXPECT_EQ(database.count(), 0);
}

// ------------------------------------------------------------- strings

struct StringCase {
    const char *entry;
    const char *expected; // null: skipped
};

class StringReader : public ::testing::TestWithParam<StringCase>
{
};

TEST_P(StringReader, ChoosesTheValue)
{
    CZelStringDatabase database;
    ASSERT_TRUE(read(database, QByteArray("<strings><string><key>S</key>") + GetParam().entry + "</string></strings>",
                     QString()));
    if (GetParam().expected)
        EXPECT_EQ(database.value(QStringLiteral("S")), QString::fromUtf8(GetParam().expected));
    else
        EXPECT_FALSE(database.contains(QStringLiteral("S")));
}

INSTANTIATE_TEST_SUITE_P(Values, StringReader,
                         ::testing::Values(StringCase{"<value>&amp;Load Bank from File...</value>",
                                                      "&Load Bank from File..."},
                                           StringCase{"<value></value><source>src</source>", nullptr},
                                           StringCase{"<source>src</source><translation>tr</translation>", "tr"},
                                           StringCase{"<source>src</source><translation></translation>", "src"},
                                           StringCase{"<translation>only</translation>", "only"},
                                           StringCase{"<source></source>", nullptr}, StringCase{"", nullptr}));

// ------------------------------------------------------------- palettes

QByteArray palette(const QByteArray &colors)
{
    return "<palettes><palette><key>P</key>" + colors + "</palette></palettes>";
}

QByteArray color(int type, const char *red, const char *green = "0", const char *blue = "0")
{
    return QByteArray("<color><type>") + QByteArray::number(type) + "</type><red>" + red + "</red><green>" + green +
           "</green><blue>" + blue + "</blue></color>";
}

TEST(PaletteReader, ExplicitLightAfterWindowOverridesTheDerivedOne)
{
    CZelPaletteDatabase database;
    ASSERT_TRUE(read(database, palette(color(1, "100", "100", "100") + color(13, "1", "2", "3"))));
    const QPalette p = database.value(QStringLiteral("P"));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Window), QColor(100, 100, 100));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Light), QColor(1, 2, 3));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Dark), QColor(100, 100, 100).darker(200));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Shadow), QColor(Qt::black));
}

TEST(PaletteReader, WindowAfterExplicitLightDerivesLightAgain)
{
    CZelPaletteDatabase database;
    ASSERT_TRUE(read(database, palette(color(13, "1", "2", "3") + color(1, "100", "100", "100"))));
    EXPECT_EQ(database.value(QStringLiteral("P")).color(QPalette::Active, QPalette::Light),
              QColor(100, 100, 100).lighter(150));
}

TEST(PaletteReader, TypesAddressTheThreeGroupsAndClampComponents)
{
    CZelPaletteDatabase database;
    ASSERT_TRUE(read(database, palette(color(18, "300", "-4", "7") + color(35, "5") + color(51, "9", "9", "9"))));
    const QPalette p = database.value(QStringLiteral("P"));
    EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Window), QColor(255, 0, 7));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Shadow), QColor(9, 9, 9));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Window), QColor(5, 0, 0));
}

TEST(PaletteReader, BadColoursAreSkippedSilently)
{
    CZelPaletteDatabase database;
    const QPalette defaults;
    ASSERT_TRUE(read(database, palette(color(2, "") + color(0, "1") + color(52, "1") + color(3, "x"))));
    const QPalette p = database.value(QStringLiteral("P"));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::WindowText), defaults.color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Base), defaults.color(QPalette::Active, QPalette::Base));
}

// ------------------------------------------------------------- nodes

const QByteArray Nodes = "<nodes><node><path>editor/</path>"
                         "<property><key>shared</key><value>parent</value></property>"
                         "<property><key>onlyParent</key><value>p</value></property>"
                         "<property><key>emptyInChild</key><value>fromParent</value></property>"
                         "<node><path>editor/storeButton/</path>"
                         "<property><key>shared</key><value>first</value></property>"
                         "<property><key>shared</key><value>child</value></property>"
                         "<property><key>emptyInChild</key><value></value></property>"
                         "</node><node><path></path></node></node></nodes>";

class NodeProperties : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(read(database, Nodes)); }
    CZelNode child() const { return CZelNode(database.value(QStringLiteral("editor/storeButton/"))); }
    CZelNodeDatabase database;
};

TEST_F(NodeProperties, ReaderKeysNodesByPathAtAnyDepth) { EXPECT_EQ(database.count(), 2); }

TEST_F(NodeProperties, ChildWinsAndWithinANodeTheLastDefinitionWins)
{
    EXPECT_EQ(child().property(QStringLiteral("shared")), QStringLiteral("child"));
    EXPECT_EQ(child().property(QStringLiteral("onlyParent")), QStringLiteral("p"));
    EXPECT_EQ(child().property(QStringLiteral("missing")), QString());
    EXPECT_EQ(child().property(QStringLiteral("shared"), QString()), QString());
    EXPECT_EQ(CZelNode().property(QStringLiteral("shared")), QString());
}

TEST_F(NodeProperties, PropertyReturnsAnEmptyOwnValueButPropertiesLetsTheAncestorShow)
{
    EXPECT_EQ(child().property(QStringLiteral("emptyInChild")), QString());
    const auto all = child().properties();
    EXPECT_EQ(all.value(QStringLiteral("emptyInChild")), QStringLiteral("fromParent"));
    EXPECT_EQ(all.value(QStringLiteral("shared")), QStringLiteral("child"));
    EXPECT_EQ(all.count(), 3);
}

// ------------------------------------------------------------- engine

TEST(SkinEngineLoad, ParseErrorShowsTheReaderBoxThenTheEngineBox)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("images.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<images>\n<image>\n</images>");
    file.close();
    MessageRecorder recorder;
    CZelSkinEngine engine;
    EXPECT_FALSE(engine.load(CZelSkinEngine::Images, &file));
    ASSERT_EQ(recorder.messages.size(), 2);
    EXPECT_EQ(recorder.messages[0].kind, CZelSkinMessages::Kind::Information);
    EXPECT_EQ(recorder.messages[0].title, QStringLiteral("images.xml"));
    EXPECT_TRUE(recorder.messages[0].text.startsWith(QStringLiteral("Parse error at line 3, column ")));
    EXPECT_EQ(recorder.messages[1].kind, CZelSkinMessages::Kind::Warning);
    EXPECT_EQ(recorder.messages[1].title, QStringLiteral("Skin Engine: loading error"));
    EXPECT_EQ(recorder.messages[1].text, QStringLiteral("Error loading Images"));
}

struct LoadFailure {
    int type;
    const char *document;
    const char *typeName;
};

class SkinEngineWrongRoot : public ::testing::TestWithParam<LoadFailure>
{
};

TEST_P(SkinEngineWrongRoot, ShowsOnlyTheEngineBoxAndLeavesTheDatabaseEmpty)
{
    MessageRecorder recorder;
    CZelSkinEngine engine;
    QBuffer buffer;
    buffer.setData(GetParam().document);
    EXPECT_FALSE(engine.load(GetParam().type, &buffer));
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(recorder.messages[0].text, QStringLiteral("Error loading ") + QLatin1String(GetParam().typeName));
    EXPECT_TRUE(engine.rect(QStringLiteral("A")).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Types, SkinEngineWrongRoot,
    ::testing::Values(LoadFailure{0, "<images/>", "Strings"}, LoadFailure{1, "<Images/>", "Images"},
                      LoadFailure{2, "<layout><rectangle><key>A</key></rectangle></layout>", "Layouts"},
                      LoadFailure{3, "<nodes/>", "Palettes"}, LoadFailure{4, "<palettes/>", "Nodes"}));

TEST(SkinEngineLoad, NullDeviceAndUnknownTypeFailSilently)
{
    MessageRecorder recorder;
    CZelSkinEngine engine;
    QBuffer buffer;
    buffer.setData("<layouts/>");
    EXPECT_FALSE(engine.load(CZelSkinEngine::Layouts, nullptr));
    EXPECT_FALSE(engine.load(5, &buffer));
    EXPECT_FALSE(engine.load(-1, &buffer));
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST(SkinEngineLookups, EmptyAndAbsentKeysGiveEmptyResults)
{
    CZelSkinEngine engine;
    QBuffer buffer;
    buffer.setData(layouts("<rectangle><key>A</key><x>3</x><y>4</y><w>5</w><h>6</h></rectangle>"));
    ASSERT_TRUE(engine.load(CZelSkinEngine::Layouts, &buffer));
    EXPECT_EQ(engine.rect(QStringLiteral("A")), QRect(3, 4, 5, 6));
    EXPECT_EQ(engine.rect(QStringLiteral("B")), QRect());
    EXPECT_EQ(engine.rect(QString()).right(), -1);
    EXPECT_TRUE(engine.node(QStringLiteral("x")).isNull());
    EXPECT_TRUE(engine.pixmap(QString()).isNull());
    EXPECT_EQ(engine.renderDescription(QString()), nullptr);
    EXPECT_EQ(engine.widgetDescription(nullptr, 0), nullptr);
}

class SkinEnginePixmaps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QPixmapCache::clear();
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(QColor(200, 10, 10));
        image.setPixel(0, 0, qRgb(0, 0, 0));
        image.setPixel(1, 0, qRgb(1, 0, 0));
        ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("dot.bmp")), "BMP"));
        QBuffer buffer;
        buffer.setData("<images path=\"" + dir.path().toUtf8() +
                       "/\">"
                       "<image><key>DOT</key><file>dot.bmp</file></image>"
                       "<image><key>GONE</key><file>missing.bmp</file></image></images>");
        ASSERT_TRUE(engine.load(CZelSkinEngine::Images, &buffer));
    }

    QTemporaryDir dir;
    CZelSkinEngine engine;
};

TEST_F(SkinEnginePixmaps, PureBlackBecomesTransparentAndThePixmapIsCached)
{
    const QPixmap pixmap = engine.pixmap(QStringLiteral("DOT"));
    ASSERT_EQ(pixmap.size(), QSize(4, 2));
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 255);
    EXPECT_EQ(qAlpha(image.pixel(2, 1)), 255);
    QPixmap cached;
    EXPECT_TRUE(QPixmapCache::find(QStringLiteral("DOT"), &cached));
    EXPECT_EQ(engine.pixmap(QStringLiteral("DOT")).cacheKey(), cached.cacheKey());
}

TEST_F(SkinEnginePixmaps, MissingFileGivesANullPixmapAndCachesNothing)
{
    EXPECT_TRUE(engine.pixmap(QStringLiteral("GONE")).isNull());
    EXPECT_TRUE(engine.pixmap(QStringLiteral("GONE")).isNull());
    QPixmap cached;
    EXPECT_FALSE(QPixmapCache::find(QStringLiteral("GONE"), &cached));
    EXPECT_TRUE(engine.pixmap(QStringLiteral("UNKNOWN")).isNull());
}

TEST(SkinEngineDescriptions, RegistrationRefusesEmptyNullDuplicateAndInvalid)
{
    CZelSkinEngine engine;
    QBuffer buffer;
    buffer.setData("<nodes><node><path>ok/</path><property><key>RenderStyle</key><value>Render_None</value>"
                   "</property></node><node><path>bad/</path><property><key>RenderStyle</key>"
                   "<value>Render_Fixed</value></property></node><node><path>empty/</path></node></nodes>");
    ASSERT_TRUE(engine.load(CZelSkinEngine::Nodes, &buffer));
    const CZelNode ok(engine.node(QStringLiteral("ok/")));
    EXPECT_FALSE(engine.addRenderDescription(QString(), ok));
    EXPECT_FALSE(engine.addRenderDescription(QStringLiteral("k"), CZelNode()));
    EXPECT_TRUE(engine.addRenderDescription(QStringLiteral("k"), ok));
    EXPECT_FALSE(engine.addRenderDescription(QStringLiteral("k"), ok));
    EXPECT_FALSE(engine.addRenderDescription(QStringLiteral("b"), CZelNode(engine.node(QStringLiteral("bad/")))));
    EXPECT_FALSE(engine.addRenderDescription(QStringLiteral("e"), CZelNode(engine.node(QStringLiteral("empty/")))));
    EXPECT_NE(engine.renderDescription(QStringLiteral("k")), nullptr);
    EXPECT_EQ(engine.renderDescription(QStringLiteral("b")), nullptr);
}

} // namespace

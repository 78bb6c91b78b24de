// Arbitrary bytes through one skin reader; the reader is chosen at build time
// (VORPAD_SKIN_READER 0..4: strings, images, layouts, palettes, nodes), so
// each reader is its own fuzz target with its own corpus.
#include "editor/skin/CZelDatabases.h"
#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelSkinMessages.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Palettes start from the application palette; the messages go nowhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_skin_reader";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    CZelSkinMessages::setSink([](CZelSkinMessages::Kind, const QString &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 65536)
        return 0;
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The group name comes from the first byte so that group mode is reached too.
    const QString group = size > 0 && (data[0] & 1) ? QStringLiteral("g") : QString();
#if VORPAD_SKIN_READER == 0
    CZelStringDatabase database;
    database.readXml(&buffer, group);
#elif VORPAD_SKIN_READER == 1
    CZelImageDatabase database;
    database.readXml(&buffer, group);
#elif VORPAD_SKIN_READER == 2
    CZelLayoutDatabase database;
    database.readXml(&buffer, group);
#elif VORPAD_SKIN_READER == 3
    CZelPaletteDatabase database;
    database.readXml(&buffer);
#else
    CZelNodeDatabase database;
    if (database.readXml(&buffer)) {
        // Property look-ups walk the parsed tree upwards.
        for (const QDomElement &element : database.table()) {
            const CZelNode node(element);
            node.property(QStringLiteral("RenderStyle"));
            node.properties();
        }
    }
#endif
    return 0;
}

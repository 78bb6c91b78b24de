#include "editor/skin/CZelEditorSkin.h"

#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QFile>

namespace CZelEditorSkin {

const QStringList &elementNames()
{
    static const QStringList names = {QStringLiteral("storeButton"),
                                      QStringLiteral("checkButton"),
                                      QStringLiteral("velocityCurveButton1"),
                                      QStringLiteral("velocityCurveButton2"),
                                      QStringLiteral("velocityCurveButton3"),
                                      QStringLiteral("velocityCurveButton4"),
                                      QStringLiteral("velocityCurveButton5"),
                                      QStringLiteral("velocityCurveButton6"),
                                      QStringLiteral("velocityCurveButton7"),
                                      QStringLiteral("velocityCurveButton8"),
                                      QStringLiteral("dial_track"),
                                      QStringLiteral("dial_thumb"),
                                      QStringLiteral("wheel_track"),
                                      QStringLiteral("wheel_thumb"),
                                      QStringLiteral("spinInc"),
                                      QStringLiteral("spinDec"),
                                      QStringLiteral("modifiedLED"),
                                      QStringLiteral("controllerMode"),
                                      QStringLiteral("zone1Enable"),
                                      QStringLiteral("zone2Enable"),
                                      QStringLiteral("zone3Enable"),
                                      QStringLiteral("zone4Enable"),
                                      QStringLiteral("zonesEnable")};
    return names;
}

bool load(CZelSkinEngine &engine)
{
    static const std::pair<int, const char *> Files[] = {{CZelSkinEngine::Strings, ":/files/strings.xml"},
                                                         {CZelSkinEngine::Images, ":/files/images.xml"},
                                                         {CZelSkinEngine::Layouts, ":/files/layouts.xml"},
                                                         {CZelSkinEngine::Palettes, ":/files/palettes.xml"},
                                                         {CZelSkinEngine::Nodes, ":/files/nodes.xml"}};
    bool ok = true;
    for (const auto &[type, path] : Files) {
        QFile file(QString::fromLatin1(path));
        ok = engine.load(type, &file) && ok;
    }
    for (const QString &name : elementNames()) {
        const CZelNode node(engine.node(QStringLiteral("editor/") + name + QLatin1Char('/')));
        ok = engine.addRenderDescription(name, node) && ok;
    }
    return ok;
}

} // namespace CZelEditorSkin

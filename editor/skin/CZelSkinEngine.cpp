#include "editor/skin/CZelSkinEngine.h"

#include "editor/skin/CZelDatabases.h"
#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelSkinMessages.h"

#include <QBitmap>
#include <QHash>
#include <QPixmapCache>

#include <array>

class CZelSkinEnginePrivate
{
public:
    ~CZelSkinEnginePrivate() { qDeleteAll(descriptions.table()); }

    CZelStringDatabase strings;
    CZelImageDatabase images;
    CZelLayoutDatabase layouts;
    CZelPaletteDatabase palettes;
    CZelNodeDatabase nodes;
    CZelDatabase<QString, CZelRenderDescription *> descriptions;
    QHash<QPair<const QWidget *, int>, CZelRenderDescription *> widgetDescriptions;
};

CZelSkinEngine::CZelSkinEngine() : d(std::make_unique<CZelSkinEnginePrivate>()) {}

CZelSkinEngine::~CZelSkinEngine() = default;

bool CZelSkinEngine::load(int type, QIODevice *device, const QString &group)
{
    static const std::array<const char *, 5> typeNames = {"Strings", "Images", "Layouts", "Palettes", "Nodes"};
    if (!device || type < Strings || type > Nodes)
        return false;
    bool ok = false;
    switch (static_cast<DatabaseType>(type)) {
    case Strings:
        ok = d->strings.readXml(device, group);
        break;
    case Images:
        ok = d->images.readXml(device, group);
        break;
    case Layouts:
        ok = d->layouts.readXml(device, group);
        break;
    case Palettes:
        ok = d->palettes.readXml(device);
        break;
    case Nodes:
        ok = d->nodes.readXml(device);
        break;
    }
    if (!ok)
        CZelSkinMessages::show(CZelSkinMessages::Kind::Warning, QStringLiteral("Skin Engine: loading error"),
                               QStringLiteral("Error loading ") + QLatin1String(typeNames[type]));
    return ok;
}

QPixmap CZelSkinEngine::pixmap(const QString &key) const
{
    if (key.isEmpty())
        return {};
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    const QString path = d->images.value(key);
    if (path.isEmpty())
        return {};
    if (!result.load(path, nullptr, Qt::OrderedDither | Qt::OrderedAlphaDither) || result.isNull())
        return {};
    // Pure black is the transparent colour of round and irregular controls.
    result.setMask(result.createMaskFromColor(Qt::black, Qt::MaskInColor));
    QPixmapCache::insert(key, result);
    return result;
}

QRect CZelSkinEngine::rect(const QString &key) const { return key.isEmpty() ? QRect() : d->layouts.value(key); }

bool CZelSkinEngine::hasRect(const QString &key) const { return d->layouts.contains(key); }

QDomElement CZelSkinEngine::node(const QString &path) const
{
    return path.isEmpty() ? QDomElement() : d->nodes.value(path);
}

QString CZelSkinEngine::string(const QString &key) const { return d->strings.value(key); }

QPalette CZelSkinEngine::palette(const QString &key) const
{
    const QPalette *palette = d->palettes.find(key);
    return palette ? *palette : QPalette();
}

CZelRenderDescription *CZelSkinEngine::renderDescription(const QString &key) const
{
    return key.isEmpty() ? nullptr : d->descriptions.value(key);
}

bool CZelSkinEngine::addRenderDescription(const QString &key, const CZelNode &node)
{
    if (key.isEmpty() || node.isNull() || d->descriptions.contains(key))
        return false;
    auto description = std::make_unique<CZelRenderDescription>(node, this);
    if (!description->isValid())
        return false;
    d->descriptions.insert(key, description.release());
    return true;
}

CZelRenderDescription *CZelSkinEngine::widgetDescription(const QWidget *widget, int part) const
{
    return d->widgetDescriptions.value(qMakePair(widget, part), nullptr);
}

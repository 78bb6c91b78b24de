#include "editor/skin/CZelDatabases.h"

#include "editor/skin/CZelXmlReader.h"

#include <QPixmapCache>

#include <array>
#include <cstdlib>

using CZelXmlReader::childText;

namespace {

// Text as a base-10 integer; ok is false for empty or unparsable text.
int toInt(const QString &text, bool *ok) { return text.trimmed().toInt(ok, 10); }

} // namespace

// ---------------------------------------------------------------- images

class CZelImageDatabasePrivate
{
public:
    explicit CZelImageDatabasePrivate(CZelImageDatabase *q) : q(q) {}

    bool read(QIODevice *device, const QString &group)
    {
        const QDomElement root =
            CZelXmlReader::readRoot(device, QStringLiteral("images"), QStringLiteral("images.xml"));
        if (root.isNull())
            return false;
        QList<QDomElement> groups;
        const auto images = CZelXmlReader::entries(root, QStringLiteral("image"), group, &groups);
        for (qsizetype i = 0; i < images.size(); ++i) {
            const QString key = childText(images[i], QStringLiteral("key"));
            const QString file = childText(images[i], QStringLiteral("file"));
            if (key.isEmpty() || file.isEmpty())
                continue;
            q->insert(key, groups[i].attribute(QStringLiteral("path")) + file);
        }
        return true;
    }

    CZelImageDatabase *q;
};

CZelImageDatabase::CZelImageDatabase() : d(std::make_unique<CZelImageDatabasePrivate>(this))
{
    // Every skin bitmap fits at once, so painting never reloads a file.
    if (QPixmapCache::cacheLimit() < 1024)
        QPixmapCache::setCacheLimit(1024);
}

CZelImageDatabase::~CZelImageDatabase() = default;

bool CZelImageDatabase::readXml(QIODevice *device, const QString &group) { return d->read(device, group); }

// ---------------------------------------------------------------- strings

class CZelStringDatabasePrivate
{
public:
    explicit CZelStringDatabasePrivate(CZelStringDatabase *q) : q(q) {}

    static QString valueOf(const QDomElement &entry)
    {
        const QDomElement value = entry.firstChildElement(QStringLiteral("value"));
        if (!value.isNull())
            return value.text();
        const QString translation = childText(entry, QStringLiteral("translation"));
        return translation.isEmpty() ? childText(entry, QStringLiteral("source")) : translation;
    }

    bool read(QIODevice *device, const QString &group)
    {
        const QDomElement root =
            CZelXmlReader::readRoot(device, QStringLiteral("strings"), QStringLiteral("strings.xml"));
        if (root.isNull())
            return false;
        for (const QDomElement &entry : CZelXmlReader::entries(root, QStringLiteral("string"), group)) {
            const QString key = childText(entry, QStringLiteral("key"));
            const QString value = valueOf(entry);
            if (!key.isEmpty() && !value.isEmpty())
                q->insert(key, value);
        }
        return true;
    }

    CZelStringDatabase *q;
};

CZelStringDatabase::CZelStringDatabase() : d(std::make_unique<CZelStringDatabasePrivate>(this)) {}
CZelStringDatabase::~CZelStringDatabase() = default;

bool CZelStringDatabase::readXml(QIODevice *device, const QString &group) { return d->read(device, group); }

// ---------------------------------------------------------------- layouts

class CZelLayoutDatabasePrivate
{
public:
    explicit CZelLayoutDatabasePrivate(CZelLayoutDatabase *q) : q(q) {}

    // Missing or unparsable numbers read as 0, negative ones as their magnitude.
    static int coordinate(const QDomElement &entry, const QString &name)
    {
        bool ok = false;
        const int value = toInt(childText(entry, name), &ok);
        return ok ? std::abs(value) : 0;
    }

    bool read(QIODevice *device, const QString &group)
    {
        const QDomElement root =
            CZelXmlReader::readRoot(device, QStringLiteral("layouts"), QStringLiteral("layouts.xml"));
        if (root.isNull())
            return false;
        for (const QDomElement &entry : CZelXmlReader::entries(root, QStringLiteral("rectangle"), group)) {
            const QString key = childText(entry, QStringLiteral("key"));
            if (key.isEmpty())
                continue;
            q->insert(key, QRect(coordinate(entry, QStringLiteral("x")), coordinate(entry, QStringLiteral("y")),
                                 coordinate(entry, QStringLiteral("w")), coordinate(entry, QStringLiteral("h"))));
        }
        return true;
    }

    CZelLayoutDatabase *q;
};

CZelLayoutDatabase::CZelLayoutDatabase() : d(std::make_unique<CZelLayoutDatabasePrivate>(this)) {}
CZelLayoutDatabase::~CZelLayoutDatabase() = default;

bool CZelLayoutDatabase::readXml(QIODevice *device, const QString &group) { return d->read(device, group); }

// ---------------------------------------------------------------- nodes

class CZelNodeDatabasePrivate
{
public:
    explicit CZelNodeDatabasePrivate(CZelNodeDatabase *q) : q(q) {}

    bool read(QIODevice *device)
    {
        const QDomElement root = CZelXmlReader::readRoot(device, QStringLiteral("nodes"), QStringLiteral("nodes.xml"));
        if (root.isNull())
            return false;
        for (const QDomElement &node : CZelXmlReader::descendants(root, QStringLiteral("node"))) {
            const QString path = childText(node, QStringLiteral("path"));
            if (!path.isEmpty())
                q->insert(path, node);
        }
        return true;
    }

    CZelNodeDatabase *q;
};

CZelNodeDatabase::CZelNodeDatabase() : d(std::make_unique<CZelNodeDatabasePrivate>(this)) {}
CZelNodeDatabase::~CZelNodeDatabase() = default;

bool CZelNodeDatabase::readXml(QIODevice *device) { return d->read(device); }

// ---------------------------------------------------------------- palettes

class CZelPaletteDatabasePrivate
{
public:
    explicit CZelPaletteDatabasePrivate(CZelPaletteDatabase *q) : q(q) {}

    static constexpr int RolesPerGroup = 17;

    // Role order within each colour group of the numbering 1..51.
    static constexpr std::array<QPalette::ColorRole, RolesPerGroup> Roles = {
        QPalette::Window,    QPalette::WindowText,
        QPalette::Base,      QPalette::AlternateBase,
        QPalette::Text,      QPalette::BrightText,
        QPalette::Button,    QPalette::ButtonText,
        QPalette::Highlight, QPalette::HighlightedText,
        QPalette::Link,      QPalette::LinkVisited,
        QPalette::Light,     QPalette::Dark,
        QPalette::Midlight,  QPalette::Mid,
        QPalette::Shadow};
    static constexpr std::array<QPalette::ColorGroup, 3> Groups = {QPalette::Active, QPalette::Inactive,
                                                                   QPalette::Disabled};

    static void apply(QPalette &palette, const QDomElement &color)
    {
        bool ok[4] = {};
        const int type = toInt(childText(color, QStringLiteral("type")), &ok[0]);
        const int red = toInt(childText(color, QStringLiteral("red")), &ok[1]);
        const int green = toInt(childText(color, QStringLiteral("green")), &ok[2]);
        const int blue = toInt(childText(color, QStringLiteral("blue")), &ok[3]);
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || type < 1 || type > 3 * RolesPerGroup)
            return;
        const QColor value(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
        const QPalette::ColorGroup group = Groups[(type - 1) / RolesPerGroup];
        const QPalette::ColorRole role = Roles[(type - 1) % RolesPerGroup];
        palette.setBrush(group, role, QBrush(value));
        if (role == QPalette::Window) {
            palette.setBrush(group, QPalette::Light, QBrush(value.lighter(150)));
            palette.setBrush(group, QPalette::Dark, QBrush(value.darker(200)));
            palette.setBrush(group, QPalette::Midlight, QBrush(value.lighter(125)));
            palette.setBrush(group, QPalette::Mid, QBrush(value.darker(150)));
            palette.setBrush(group, QPalette::Shadow, QBrush(Qt::black));
        }
    }

    bool read(QIODevice *device)
    {
        const QDomElement root =
            CZelXmlReader::readRoot(device, QStringLiteral("palettes"), QStringLiteral("palettes.xml"));
        if (root.isNull())
            return false;
        for (const QDomElement &entry : CZelXmlReader::descendants(root, QStringLiteral("palette"))) {
            const QString key = childText(entry, QStringLiteral("key"));
            if (key.isEmpty())
                continue;
            QPalette palette;
            for (const QDomElement &color : CZelXmlReader::descendants(entry, QStringLiteral("color")))
                apply(palette, color);
            q->insert(key, palette);
        }
        return true;
    }

    CZelPaletteDatabase *q;
};

CZelPaletteDatabase::CZelPaletteDatabase() : d(std::make_unique<CZelPaletteDatabasePrivate>(this)) {}
CZelPaletteDatabase::~CZelPaletteDatabase() = default;

bool CZelPaletteDatabase::readXml(QIODevice *device) { return d->read(device); }

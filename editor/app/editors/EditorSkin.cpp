#include "editor/app/editors/EditorSkin.h"

#include "editor/skin/CZelEditorSkin.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QCoreApplication>
#include <QPixmapCache>

namespace {
EditorSkin *theSkin = nullptr;
} // namespace

EditorSkin &EditorSkin::instance()
{
    if (!theSkin) {
        theSkin = new EditorSkin;
        // The style and the pixmaps need the application object, so the
        // skin goes with it rather than with the static objects.
        qAddPostRoutine([] {
            delete theSkin;
            theSkin = nullptr;
        });
    }
    return *theSkin;
}

EditorSkin::EditorSkin() : m_engine(new CZelSkinEngine), m_style(new CZelRenderStyle(m_engine))
{
    CZelEditorSkin::load(*m_engine);
}

EditorSkin::~EditorSkin()
{
    delete m_style;
    delete m_engine;
}

QRect EditorSkin::rect(const QString &key) const { return m_engine->rect(key); }

QPoint EditorSkin::position(const QString &section, const QString &element) const
{
    QPoint position = m_engine->rect(section).topLeft();
    if (!element.isEmpty())
        position += m_engine->rect(element).topLeft();
    return position;
}

QPixmap EditorSkin::image(const QString &path)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap = QPixmap(path);
        if (!pixmap.isNull())
            QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
}

QFont EditorSkin::font(int points)
{
    QFont font(QStringLiteral("Lucida Console"), points);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QString widgetName(const QString &section, const QString &element)
{
    return element.isEmpty() ? section : section + QLatin1Char('/') + element;
}

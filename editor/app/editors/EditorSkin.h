#pragma once

#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

class CZelRenderStyle;
class CZelSkinEngine;

// The one skin of the editor's panels: created when the first editor widget
// is built, it loads the compiled-in skin and lives until the application
// object goes away.
class EditorSkin
{
public:
    static EditorSkin &instance();

    CZelSkinEngine &engine() const { return *m_engine; }
    // The style every editor widget is given.
    CZelRenderStyle *style() const { return m_style; }
    QRect rect(const QString &key) const;
    // The top-left of the section's rectangle plus, for a non-empty element,
    // the element's (element rectangles are relative to their section).
    QPoint position(const QString &section, const QString &element = QString()) const;
    // A bitmap of the resources by its path (":/images/..."), cached.
    static QPixmap image(const QString &path);
    // The editor's text face at the given point size.
    static QFont font(int points);

    ~EditorSkin();
    EditorSkin(const EditorSkin &) = delete;
    EditorSkin &operator=(const EditorSkin &) = delete;

private:
    EditorSkin();

    CZelSkinEngine *m_engine;
    CZelRenderStyle *m_style;
};

// The object name of a widget at section S and element K: "S/K", or S alone.
QString widgetName(const QString &section, const QString &element = QString());

#pragma once

#include <QDomElement>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <memory>

class QIODevice;
class QWidget;
class CZelNode;
class CZelRenderDescription;
class CZelSkinEnginePrivate;

// Owns the five skin databases and the render descriptions, and answers the
// look-ups of the styles and the editor's builders.
class CZelSkinEngine
{
public:
    // Database type numbers of load().
    enum DatabaseType { Strings = 0, Images = 1, Layouts = 2, Palettes = 3, Nodes = 4 };

    CZelSkinEngine();
    ~CZelSkinEngine();
    CZelSkinEngine(const CZelSkinEngine &) = delete;
    CZelSkinEngine &operator=(const CZelSkinEngine &) = delete;

    // Reads one database; the group applies to images, layouts and strings.
    bool load(int type, QIODevice *device, const QString &group = QString());

    QPixmap pixmap(const QString &key) const;
    QRect rect(const QString &key) const;
    bool hasRect(const QString &key) const;
    QDomElement node(const QString &path) const;
    QString string(const QString &key) const;
    QPalette palette(const QString &key) const;

    CZelRenderDescription *renderDescription(const QString &key) const;
    bool addRenderDescription(const QString &key, const CZelNode &node);

    // Descriptions assigned to single widgets; nothing registers any, so this
    // is null for every widget.
    CZelRenderDescription *widgetDescription(const QWidget *widget, int part) const;

private:
    std::unique_ptr<CZelSkinEnginePrivate> d;
};

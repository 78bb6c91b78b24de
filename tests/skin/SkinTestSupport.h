#pragma once

#include "editor/skin/CZelSkinMessages.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Records what the skin layer would have shown in message boxes.
struct MessageRecorder {
    struct Message {
        CZelSkinMessages::Kind kind;
        QString title;
        QString text;
    };

    MessageRecorder()
    {
        CZelSkinMessages::setSink([this](CZelSkinMessages::Kind kind, const QString &title, const QString &text) {
            messages.append({kind, title, text});
        });
    }
    ~MessageRecorder() { CZelSkinMessages::setSink({}); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<Message> messages;
};

// Collects qWarning lines while alive.
struct WarningRecorder {
    WarningRecorder();
    ~WarningRecorder();
    WarningRecorder(const WarningRecorder &) = delete;
    WarningRecorder &operator=(const WarningRecorder &) = delete;

    static QStringList &lines();
};

inline QByteArray xml(const char *text) { return QByteArray(text); }

#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QDir>
#include <QImage>
#include <QPixmapCache>
#include <QTemporaryDir>

#include <memory>

// An engine over bitmaps written to a temporary folder and nodes given as
// XML text, for the description and widget tests.
class TestSkin
{
public:
    TestSkin() { QPixmapCache::clear(); }
    ~TestSkin() { QPixmapCache::clear(); }
    TestSkin(const TestSkin &) = delete;
    TestSkin &operator=(const TestSkin &) = delete;

    // Registers an image under key (a file of the same name).
    void addImage(const QString &key, const QImage &image)
    {
        image.save(m_dir.filePath(key + QStringLiteral(".bmp")), "BMP");
        m_images += "<image><key>" + key.toUtf8() + "</key><file>" + key.toUtf8() + ".bmp</file></image>";
    }
    // A node editor/<name>/ with the given properties (key, value pairs).
    void addNode(const QString &name, const QList<QPair<QString, QString>> &properties)
    {
        m_nodes += "<node><path>editor/" + name.toUtf8() + "/</path>";
        for (const auto &[key, value] : properties)
            m_nodes += "<property><key>" + key.toUtf8() + "</key><value>" + value.toUtf8() + "</value></property>";
        m_nodes += "</node>";
    }
    // Loads everything added so far and registers each node under its name.
    CZelSkinEngine &engine(const QStringList &names)
    {
        QBuffer images;
        images.setData("<images path=\"" + m_dir.path().toUtf8() + "/\">" + m_images + "</images>");
        m_engine->load(CZelSkinEngine::Images, &images);
        QBuffer nodes;
        nodes.setData("<nodes><node><path>editor/</path>" + m_nodes + "</node></nodes>");
        m_engine->load(CZelSkinEngine::Nodes, &nodes);
        for (const QString &name : names)
            m_engine->addRenderDescription(name, CZelNode(m_engine->node(QStringLiteral("editor/") + name + '/')));
        return *m_engine;
    }

    static QImage solid(QSize size, QColor color)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        return image;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_images;
    QByteArray m_nodes;
    std::unique_ptr<CZelSkinEngine> m_engine = std::make_unique<CZelSkinEngine>();
};

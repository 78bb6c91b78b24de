#pragma once

#include "CZelSkinMessages.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Records what the skin layer would have shown in message boxes.
struct MessageRecorder
{
    struct Message
    {
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
struct WarningRecorder
{
    WarningRecorder();
    ~WarningRecorder();
    WarningRecorder(const WarningRecorder &) = delete;
    WarningRecorder &operator=(const WarningRecorder &) = delete;

    static QStringList &lines();
};

inline QByteArray xml(const char *text)
{
    return QByteArray(text);
}

#pragma once

#include <QEvent>
#include <QString>

// Asks the application to open a file once the event loop runs. Posted to the
// application object, which (through the event queue) owns it from then on.
class LoadFileEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 1);

    explicit LoadFileEvent(const QString &path) : QEvent(EventType), m_path(path) {}

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

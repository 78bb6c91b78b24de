#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

// At most one running editor per user and identifier. The first process to
// take the channel's lock file is the running instance and listens on a
// private local socket; later starts hand it their message and quit. The lock
// decides who runs (a killed instance's lock is stale and taken over); the
// socket only carries messages.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &identifier, QObject *parent = nullptr);
    ~SingleInstance() override;

    // False when the channel folder was refused; the process then runs alone.
    bool isUsable() const { return !m_folder.isEmpty(); }
    QString channelError() const { return m_channelError; }

    // True only when a running instance acknowledged the message within the
    // time-out. When no instance runs, this process takes the lock and the
    // call returns false at once.
    bool sendMessage(const QString &message, int timeoutMs);

    // Makes this process reachable for later starts. False when another
    // instance holds the lock or the socket cannot be opened.
    bool listen();
    bool isListening() const;

    // Shown, raised and activated whenever a message arrives.
    void setActivationWindow(QWidget *window) { m_activationWindow = window; }

    QString socketPath() const;

    // How long a peer may take to send its message once connected.
    static constexpr int ReadTimeoutMs = 5000;
    // Connections beyond this many at once are refused.
    static constexpr int MaxPendingConnections = 8;

signals:
    void messageReceived(const QString &message);

private:
    bool takeLock();
    void acceptConnections();
    void activateWindow();

    QString m_folder;
    QString m_channelError;
    QString m_baseName;
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
    QLocalServer *m_server = nullptr;
    QWidget *m_activationWindow = nullptr;
    int m_openConnections = 0;
};

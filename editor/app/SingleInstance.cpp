#include "editor/app/SingleInstance.h"

#include "editor/app/ChannelFolder.h"
#include "editor/app/InstanceMessage.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

// A fixed-length name, so that an identifier of any length fits a socket path.
QString baseNameFor(const QString &identifier)
{
    const QByteArray key = identifier.toUtf8() + '/' + QByteArray::number(qulonglong(::getuid()));
    return QStringLiteral("vorpad-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

constexpr int ConnectRetryMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString &identifier, QObject *parent)
    : QObject(parent), m_baseName(baseNameFor(identifier))
{
    const ChannelFolder::Result folder = ChannelFolder::locate();
    m_folder = folder.path;
    m_channelError = folder.error;
    if (isUsable()) {
        m_lock = std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + m_baseName + QStringLiteral(".lock"));
        // Stale only when its process is gone, never by age.
        m_lock->setStaleLockTime(0);
    }
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock && m_locked)
        m_lock->unlock();
}

QString SingleInstance::socketPath() const
{
    return m_folder + QLatin1Char('/') + m_baseName + QStringLiteral(".socket");
}

bool SingleInstance::takeLock()
{
    if (!m_locked && m_lock)
        m_locked = m_lock->tryLock(0);
    return m_locked;
}

bool SingleInstance::sendMessage(const QString &message, int timeoutMs)
{
    if (!isUsable() || takeLock())
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    const QByteArray frame = InstanceMessage::encode(message);
    // The running instance may hold the lock a moment before it listens.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (!socket.waitForConnected(int(qMin<qint64>(deadline.remainingTime(), 1000)))) {
            if (takeLock()) // it went away meanwhile: this one runs now
                return false;
            QThread::msleep(ConnectRetryMs);
            continue;
        }
        socket.write(frame);
        while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
            socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
        while (socket.bytesAvailable() < 1 && !deadline.hasExpired()) {
            if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                break;
        }
        char answer = 0;
        return socket.read(&answer, 1) == 1 && answer == InstanceMessage::Acknowledgement;
    }
    return false;
}

bool SingleInstance::listen()
{
    if (m_server)
        return true;
    if (!isUsable() || !takeLock())
        return false;
    // Holding the lock: whatever socket file is left belongs to a dead instance.
    QLocalServer::removeServer(socketPath());
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketPath())) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const { return m_server && m_server->isListening(); }

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_openConnections >= MaxPendingConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_openConnections;
        auto reader = std::make_shared<InstanceMessage::Reader>();
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        // A peer that connects and never finishes is dropped.
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this] { --m_openConnections; });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            while (reader->state() == InstanceMessage::Reader::State::NeedMore && socket->bytesAvailable() > 0)
                reader->feed(socket->read(qMin<qint64>(reader->wanted(), 64 * 1024)));
            if (reader->state() == InstanceMessage::Reader::State::NeedMore)
                return;
            if (reader->state() == InstanceMessage::Reader::State::Invalid || socket->bytesAvailable() > 0) {
                socket->abort();
                return;
            }
            socket->write(&InstanceMessage::Acknowledgement, 1);
            socket->flush();
            socket->disconnectFromServer();
            const QString message = reader->message();
            activateWindow();
            emit messageReceived(message);
        });
        timer->start(ReadTimeoutMs);
        if (socket->bytesAvailable() > 0)
            emit socket->readyRead();
    }
}

void SingleInstance::activateWindow()
{
    if (!m_activationWindow)
        return;
    m_activationWindow->setWindowState(m_activationWindow->windowState() & ~Qt::WindowMinimized);
    m_activationWindow->show();
    m_activationWindow->raise();
    m_activationWindow->activateWindow();
}

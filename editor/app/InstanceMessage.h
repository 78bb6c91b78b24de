#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One message between two editor processes on the single-instance channel: a
// 4-byte big-endian length, then that many bytes of UTF-8. The running editor
// answers a complete message with one acknowledgement byte.
namespace InstanceMessage {

// Longer announcements are refused before anything is buffered.
inline constexpr quint32 MaxPayload = 4 * 1024 * 1024;
inline constexpr char Acknowledgement = '\x06';

QByteArray encode(const QString &message);

// Collects one message from pieces as they arrive. A length above the limit,
// or bytes after the message, make the stream invalid; nothing else the peer
// sends can grow the buffer past the announced length.
class Reader
{
public:
    enum class State { NeedMore, Complete, Invalid };

    State feed(QByteArrayView bytes);
    State state() const { return m_state; }
    // The message once complete; malformed UTF-8 comes out replaced.
    QString message() const;
    // How many more bytes the reader takes at most (for bounded socket reads).
    qint64 wanted() const;

private:
    State m_state = State::NeedMore;
    QByteArray m_header;
    QByteArray m_payload;
    quint32 m_length = 0;
};

} // namespace InstanceMessage

#include "editor/app/InstanceMessage.h"

#include <QtEndian>

namespace InstanceMessage {

namespace {
constexpr qsizetype HeaderSize = 4;
}

QByteArray encode(const QString &message)
{
    const QByteArray payload = message.toUtf8();
    QByteArray frame(HeaderSize, '\0');
    qToBigEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

Reader::State Reader::feed(QByteArrayView bytes)
{
    while (m_state == State::NeedMore && !bytes.isEmpty()) {
        if (m_header.size() < HeaderSize) {
            const qsizetype take = qMin(HeaderSize - m_header.size(), bytes.size());
            m_header.append(bytes.first(take));
            bytes = bytes.sliced(take);
            if (m_header.size() < HeaderSize)
                break;
            m_length = qFromBigEndian<quint32>(m_header.constData());
            if (m_length > MaxPayload) {
                m_state = State::Invalid;
                break;
            }
            m_payload.reserve(qsizetype(qMin<quint32>(m_length, 64 * 1024)));
        }
        const qsizetype take = qMin(qsizetype(m_length) - m_payload.size(), bytes.size());
        m_payload.append(bytes.first(take));
        bytes = bytes.sliced(take);
        if (m_payload.size() == qsizetype(m_length))
            m_state = State::Complete;
    }
    // The sender waits for the acknowledgement, so anything after its
    // message is not from a well-behaved peer.
    if (m_state == State::Complete && !bytes.isEmpty())
        m_state = State::Invalid;
    return m_state;
}

QString Reader::message() const { return m_state == State::Complete ? QString::fromUtf8(m_payload) : QString(); }

qint64 Reader::wanted() const
{
    if (m_state != State::NeedMore)
        return 0;
    if (m_header.size() < HeaderSize)
        return HeaderSize - m_header.size();
    return qint64(m_length) - m_payload.size();
}

} // namespace InstanceMessage

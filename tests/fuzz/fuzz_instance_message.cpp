// Arbitrary bytes from a peer on the single-instance channel, in arbitrary
// pieces: the reader ends in the same state as when they come at once, never
// wants a negative count, and a complete message is exactly what its frame
// announced.
#include "editor/app/InstanceMessage.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    using Reader = InstanceMessage::Reader;
    const std::size_t pieceSize = std::size_t(data[0] % 16) + 1;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    Reader whole;
    whole.feed(bytes);
    Reader pieces;
    for (qsizetype at = 0; at < bytes.size(); at += qsizetype(pieceSize)) {
        pieces.feed(bytes.sliced(at, qMin(qsizetype(pieceSize), bytes.size() - at)));
        if (pieces.wanted() < 0)
            std::abort();
    }
    if (whole.state() != pieces.state() || whole.message() != pieces.message())
        std::abort();
    if (whole.state() == Reader::State::Complete) {
        const quint32 length = qFromBigEndian<quint32>(bytes.data());
        if (length > InstanceMessage::MaxPayload || bytes.size() != qsizetype(length) + 4)
            std::abort();
        if (whole.message() != QString::fromUtf8(bytes.sliced(4)))
            std::abort();
    }
    return 0;
}

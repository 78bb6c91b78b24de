#include "platform/alsa/AlsaInputEvent.h"

namespace Platform {

namespace {

std::uint32_t pack(unsigned status, unsigned data1, unsigned data2)
{
    return (status & 0xFF) | ((data1 & 0x7F) << 8) | ((data2 & 0x7F) << 16);
}

} // namespace

std::optional<std::uint32_t> packShortMessage(const snd_seq_event_t &event)
{
    const snd_seq_ev_note_t &note = event.data.note;
    const snd_seq_ev_ctrl_t &control = event.data.control;
    switch (event.type) {
    case SND_SEQ_EVENT_NOTEON:
        return pack(0x90 | note.channel, note.note, note.velocity);
    case SND_SEQ_EVENT_NOTEOFF:
        return pack(0x80 | note.channel, note.note, note.velocity);
    case SND_SEQ_EVENT_KEYPRESS:
        return pack(0xA0 | note.channel, note.note, note.velocity);
    case SND_SEQ_EVENT_CONTROLLER:
        return pack(0xB0 | control.channel, control.param, unsigned(control.value));
    case SND_SEQ_EVENT_PGMCHANGE:
        return pack(0xC0 | control.channel, unsigned(control.value), 0);
    case SND_SEQ_EVENT_CHANPRESS:
        return pack(0xD0 | control.channel, unsigned(control.value), 0);
    case SND_SEQ_EVENT_PITCHBEND: {
        const unsigned value = unsigned(control.value + 8192);
        return pack(0xE0 | control.channel, value & 0x7F, (value >> 7) & 0x7F);
    }
    default:
        return std::nullopt;
    }
}

void deliverAlsaEvent(const snd_seq_event_t &event, MidiInputQueue &queue)
{
    if (event.type == SND_SEQ_EVENT_SYSEX) {
        if (event.data.ext.ptr && event.data.ext.len > 0)
            queue.feedLongData(static_cast<const std::uint8_t *>(event.data.ext.ptr), event.data.ext.len);
        return;
    }
    if (const std::optional<std::uint32_t> packed = packShortMessage(event))
        queue.feedShortMessage(*packed);
}

} // namespace Platform

#pragma once

#include "platform/MidiInputQueue.h"

#include <alsa/asoundlib.h>

#include <cstdint>
#include <optional>

// How one sequencer event becomes multimedia-style input: SysEx bytes go
// into the queued long buffers, channel messages are packed as short
// messages (status in the low byte), everything else is dropped.
namespace Platform {

std::optional<std::uint32_t> packShortMessage(const snd_seq_event_t &event);
void deliverAlsaEvent(const snd_seq_event_t &event, MidiInputQueue &queue);

} // namespace Platform

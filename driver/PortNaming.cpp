#include "driver/PortNaming.h"

namespace Zel {

namespace {

constexpr std::uint8_t AudioClass = 1;
constexpr std::uint8_t MidiStreamingSubclass = 3;

struct Jacks {
    const DescriptorWalker &walker;
    std::uint32_t begin;
    std::uint32_t end;

    // Offset of the class-specific descriptor of this subtype and id, or walker length.
    std::uint32_t find(std::uint8_t subtype, std::uint8_t id) const
    {
        // A descriptor too short to hold its id is no match: callers read on from the id.
        const std::uint8_t idAt = subtype == MidiElement ? 3 : 4;
        for (std::uint32_t at = begin; at < end; at = walker.next(at)) {
            const std::uint8_t *d = walker.at(at);
            if (d[1] != ClassInterfaceDescriptorType || d[0] <= idAt || d[2] != subtype)
                continue;
            if (d[idAt] == id)
                return at;
        }
        return walker.length();
    }
    // An OUT jack's source count and iJack, when its descriptor holds them.
    static bool outJack(const std::uint8_t *d, std::uint8_t &sources, std::uint8_t &iJack)
    {
        if (d[0] < 7)
            return false;
        sources = d[5];
        if (d[0] < 7u + 2u * sources)
            return false;
        iJack = d[6 + 2 * sources];
        return true;
    }
    std::uint8_t inJackName(const std::uint8_t *inJack) const
    {
        for (std::uint32_t at = begin; at < end; at = walker.next(at)) {
            const std::uint8_t *d = walker.at(at);
            std::uint8_t sources = 0, iJack = 0;
            if (d[1] != ClassInterfaceDescriptorType || d[2] != MidiOutJack || !outJack(d, sources, iJack))
                continue;
            for (std::uint8_t s = 0; s < sources; ++s) {
                if (d[6 + 2 * s] == inJack[4])
                    return iJack ? iJack : (inJack[0] >= 6 ? inJack[5] : 0);
            }
        }
        return inJack[0] >= 6 ? inJack[5] : 0;
    }
    std::uint8_t outJackName(const std::uint8_t *d) const
    {
        std::uint8_t sources = 0, iJack = 0;
        if (!outJack(d, sources, iJack))
            return 0;
        for (std::uint8_t s = 0; s < sources; ++s) {
            const std::uint32_t source = find(MidiInJack, d[6 + 2 * s]);
            if (source >= walker.length())
                continue;
            const std::uint8_t *in = walker.at(source);
            if (in[3] == ExternalJack && in[0] >= 6) {
                if (in[5] != 0)
                    return in[5];
                break;
            }
        }
        return iJack;
    }
};

} // namespace

std::uint8_t jackStringIndex(const std::uint8_t *configuration, std::uint32_t length, std::uint8_t endpointAddress,
                             std::uint8_t cableIndex)
{
    const DescriptorWalker walker(configuration, length);
    const std::uint32_t interface = walker.findInterfaceClass(AudioClass, MidiStreamingSubclass);
    if (interface >= walker.length())
        return 0;
    const std::uint32_t end = walker.interfaceEnd(interface);
    std::uint8_t jackId = 0;
    bool found = false;
    for (std::uint32_t at = walker.next(interface); at < end && !found; at = walker.next(at)) {
        const std::uint8_t *d = walker.at(at);
        if (d[1] != EndpointDescriptorType || d[0] < EndpointDescriptorLength || d[2] != endpointAddress)
            continue;
        const std::uint32_t cs = walker.next(at);
        if (cs >= end)
            return 0;
        const std::uint8_t *c = walker.at(cs);
        if (c[1] != ClassEndpointDescriptorType || c[0] < 4 || cableIndex >= c[3] || 4u + cableIndex >= c[0])
            return 0;
        jackId = c[4 + cableIndex];
        found = true;
    }
    if (!found)
        return 0;
    const Jacks jacks{walker, walker.next(interface), end};
    std::uint32_t at = jacks.find(MidiInJack, jackId);
    if (at < walker.length())
        return jacks.inJackName(walker.at(at));
    at = jacks.find(MidiOutJack, jackId);
    if (at < walker.length())
        return jacks.outJackName(walker.at(at));
    return 0;
}

std::string portName(UsbMidiDevice &device, std::uint8_t endpointAddress, std::uint8_t cableIndex,
                     std::uint16_t language)
{
    const std::uint8_t *descriptor = device.deviceDescriptor();
    if (!descriptor || descriptor[DeviceIProduct] == 0)
        return std::string();
    std::string name = device.readString(descriptor[DeviceIProduct], language);
    if (name.empty())
        return name;
    const std::uint8_t jack =
        jackStringIndex(device.configuration(), device.configurationLength(), endpointAddress, cableIndex);
    const std::string jackName = jack ? device.readString(jack, language) : std::string();
    if (!jackName.empty())
        name += " " + jackName;
    return name;
}

} // namespace Zel

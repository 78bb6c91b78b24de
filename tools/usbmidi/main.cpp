// usbmidi: the driver's packet conversion on the command line.
//   usbmidi pack [--cable N]   MIDI bytes (hexadecimal text on stdin) -> packets
//   usbmidi unpack             packets (hexadecimal text on stdin) -> each cable's bytes
#include "driver/MidiPacketiser.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: usbmidi pack [--cable N] | usbmidi unpack  (hexadecimal bytes on stdin)\n");
    return 2;
}

// Whitespace-separated hexadecimal tokens, each one or more whole bytes ("F0", "0x90", "903C40").
bool readHex(std::istream &in, std::vector<std::uint8_t> &bytes)
{
    std::string token;
    while (in >> token) {
        if (token.rfind("0x", 0) == 0 || token.rfind("0X", 0) == 0)
            token.erase(0, 2);
        if (token.empty() || token.size() % 2 != 0 ||
            token.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            std::fprintf(stderr, "usbmidi: not hexadecimal bytes: %s\n", token.c_str());
            return false;
        }
        for (std::size_t i = 0; i < token.size(); i += 2)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(token.substr(i, 2), nullptr, 16)));
    }
    return true;
}

void printBytes(const std::uint8_t *bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        std::printf(i ? " %02X" : "%02X", bytes[i]);
    std::printf("\n");
}

// Prints every packet as it is made.
struct PrintingSink {
    std::uint8_t packet[4] = {};
    std::uint8_t *at = packet;
    std::uint8_t *end = packet + 4;
    void full()
    {
        printBytes(packet, 4);
        at = packet;
    }
    void submitNow() {}
};

int pack(std::uint8_t cable)
{
    std::vector<std::uint8_t> bytes;
    if (!readHex(std::cin, bytes))
        return 1;
    Zel::MidiByteParser parser;
    bool idle = true;
    PrintingSink sink;
    Zel::packetise(parser, idle, cable, bytes.data(), static_cast<std::uint32_t>(bytes.size()), sink);
    return 0;
}

int unpack()
{
    std::vector<std::uint8_t> bytes;
    if (!readHex(std::cin, bytes))
        return 1;
    if (bytes.size() % 4 != 0)
        std::fprintf(stderr, "usbmidi: ignoring %zu trailing bytes\n", bytes.size() % 4);
    std::map<int, std::vector<std::uint8_t>> cables;
    std::map<int, bool> idle;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        const int cable = Zel::packetCable(bytes.data() + at);
        idle.emplace(cable, true);
        std::uint8_t out[5];
        const std::uint32_t count = Zel::unpackPacket(bytes.data() + at, idle[cable], out);
        cables[cable].insert(cables[cable].end(), out, out + count);
    }
    for (const auto &[cable, stream] : cables) {
        // Packets without bytes (CIN 0 and 1) leave a cable nothing to show.
        if (stream.empty())
            continue;
        std::printf("cable %d: ", cable);
        printBytes(stream.data(), stream.size());
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "unpack" && argc == 2)
        return unpack();
    if (command != "pack")
        return usage();
    if (argc == 2)
        return pack(0);
    char *end = nullptr;
    const long cable = argc == 4 && std::string(argv[2]) == "--cable" ? std::strtol(argv[3], &end, 0) : -1;
    if (cable < 0 || cable > 15 || !end || *end)
        return usage();
    return pack(static_cast<std::uint8_t>(cable));
}

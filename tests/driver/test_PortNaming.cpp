#include "driver/PortNaming.h"

#include <gtest/gtest.h>

#include <vector>

// A jack descriptor too short to hold its id names nothing. The byte after
// the configuration stands for whatever memory follows it: it matches the
// OUT jack's source, so reading it would name the port after that jack.
TEST(PortNaming, ShortJackAtTheEndIsNotReadPastTheConfiguration)
{
    std::vector<std::uint8_t> bytes = {
        9, 0x02, 43,   0,    1,  1, 0, 0x80, 50, // configuration
        9, 0x04, 1,    0,    1,  1, 3, 0,    0,  // MIDIStreaming interface
        9, 0x24, 0x03, 0x01, 5,  1, 0, 1,    7,  // OUT jack 5, source jack 0, named by string 7
        7, 0x05, 0x81, 0x02, 64, 0, 0,           // IN endpoint
        5, 0x25, 0x01, 1,    0,                  // its cable 0 is jack 0
        4, 0x24, 0x02, 0x01,                     // IN jack without its id
        0,                                       // past the end
    };
    EXPECT_EQ(Zel::jackStringIndex(bytes.data(), static_cast<std::uint32_t>(bytes.size() - 1), 0x81, 0), 0);
}

// An arbitrary language file through the reader and through device start
// (languages, fix-ups, port names).
#include "driver/LanguageFile.h"
#include "driver/UsbMidiAdapter.h"
#include "tests/support/FuzzDriverPlatform.h"

#include <string>

namespace {

// A small valid device: one OUT and one IN endpoint with a cable each.
const std::vector<std::uint8_t> device = {18, 1, 0x10, 1, 0, 0, 0, 8, 0x1E, 0x04, 0x01, 0x3F, 0x00, 0x01, 1, 2, 3, 1};
const std::vector<std::uint8_t> configuration = {9, 2, 49,   0, 1, 1,    0,  0x80, 50, 9, 4,    0,    0,  2, 1, 3, 0,
                                                 0, 7, 0x24, 1, 0, 1,    31, 0,    7,  5, 0x01, 2,    64, 0, 0, 5, 0x25,
                                                 1, 1, 1,    7, 5, 0x81, 2,  64,   0,  0, 5,    0x25, 1,  1, 2};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 16384)
        return 0;
    FuzzDriverPlatform platform;
    platform.languageFile.assign(reinterpret_cast<const char *>(data), size);
    if (platform.languageFile.empty())
        platform.languageFile = " ";
    const Zel::LanguageFile file(platform, "lang.ini");
    std::string value;
    for (const char *section : {"S", "USB\\VID_041E&PID_3F01.LANGID", "USB\\VID_041E&PID_3F01.0409"}) {
        for (const char *key : {"1", "2", "key"}) {
            file.value(section, key, value);
            std::uint32_t number = 0;
            file.hexValue(section, key, number);
            file.bytesValue(section, key, value);
        }
    }
    platform.device = device;
    platform.configuration = configuration;
    platform.strings = {6, 3, 0x09, 0x04, 0x07, 0x04};
    platform.langId = size > 4 ? std::string(reinterpret_cast<const char *>(data), 4) : "0409";
    if (platform.langId.find('\0') != std::string::npos)
        platform.langId = "0409";
    Zel::UsbMidiAdapter adapter(platform);
    if (Zel::NT_SUCCESS(adapter.start())) {
        std::uint8_t buffer[254];
        for (std::uint8_t index = 0; index < 4; ++index) {
            buffer[0] = sizeof buffer;
            adapter.device()->lookupString(index, adapter.language(), buffer, sizeof buffer);
        }
    }
    return 0;
}

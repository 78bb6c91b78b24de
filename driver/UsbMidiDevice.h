#pragma once

#include "driver/LanguageFile.h"
#include "driver/UsbDescriptors.h"
#include "driver/ZelPlatform.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace Zel {

enum LanguageSource : std::uint8_t { FromLanguageFile = 1, FromDevice = 2 };

struct LanguageEntry {
    std::uint8_t source = 0;
    std::uint16_t id = 0;
};

inline constexpr std::uint16_t DefaultLanguage = 0x0409;

// The USB side of one controller: its descriptors (with language-file
// fix-ups), the selected configuration, the language table and the string
// lookup. Descriptors are fixed after start, so readers need no lock.
class UsbMidiDevice
{
public:
    static constexpr std::uint32_t MaxLanguages = 126;
    static constexpr std::uint32_t MaxStringLength = 254;

    explicit UsbMidiDevice(DriverPlatform &platform) : m_platform(platform) {}

    // Reads the descriptors and selects the configuration.
    NTSTATUS initialise();
    // Reads the descriptors only, for a device whose configuration another driver owns.
    NTSTATUS readDescriptors();
    // Language table and descriptor fix-ups; then the adapter language.
    void applyLanguages();

    const std::uint8_t *deviceDescriptor() const { return m_haveDevice ? m_device : nullptr; }
    const std::uint8_t *configuration() const { return m_configuration.empty() ? nullptr : m_configuration.data(); }
    std::uint32_t configurationLength() const { return static_cast<std::uint32_t>(m_configuration.size()); }
    std::uint16_t adapterLanguage() const { return m_language; }
    std::uint32_t languageCount() const { return m_languageCount; }
    const LanguageEntry &language(std::uint32_t i) const { return m_languages[i]; }

    // String descriptor `index` in `language` into buffer[0..length): the
    // descriptor's length byte says how much is valid.
    NTSTATUS lookupString(std::uint8_t index, std::uint16_t language, std::uint8_t *buffer, std::uint32_t length);
    // The string as UTF-8; empty when it cannot be read.
    std::string readString(std::uint8_t index, std::uint16_t language);

    // Synchronous request; fails while powered down; a device-gone answer is reported.
    NTSTATUS request(const ControlSetup &setup, std::uint8_t *data, std::uint32_t length, std::uint32_t &transferred);

    void setPoweredDown(bool down) { m_poweredDown = down; }
    void setGoneCallback(void (*callback)(void *), void *context)
    {
        m_gone = callback;
        m_goneContext = context;
    }
    DriverPlatform &platform() { return m_platform; }

private:
    NTSTATUS readDescriptor(std::uint8_t type, std::uint8_t index, std::uint16_t language, std::uint8_t *buffer,
                            std::uint32_t length, std::uint32_t &transferred);
    void addLanguage(std::uint8_t source, std::uint16_t id);
    bool hasLanguage(std::uint16_t id) const;
    void readLanguageFile(const LanguageFile &file);
    void chooseLanguage(std::uint16_t wanted);

    DriverPlatform &m_platform;
    std::uint8_t m_device[DeviceDescriptorLength] = {};
    bool m_haveDevice = false;
    std::vector<std::uint8_t> m_configuration;
    std::uint16_t m_vendorId = 0;
    std::uint16_t m_productId = 0;
    std::uint16_t m_bcdDevice = 0;
    char m_languageFile[520] = {};
    LanguageEntry m_languages[MaxLanguages];
    std::uint32_t m_languageCount = 0;
    std::uint16_t m_language = DefaultLanguage;
    std::atomic<bool> m_poweredDown{false};
    void (*m_gone)(void *) = nullptr;
    void *m_goneContext = nullptr;
};

} // namespace Zel

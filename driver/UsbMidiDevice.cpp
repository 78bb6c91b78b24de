#include "driver/UsbMidiDevice.h"

#include <cstdio>
#include <cstring>

namespace Zel {

namespace {

constexpr std::uint8_t GetDescriptor = 6;

std::string utf8FromUtf16(const std::uint8_t *text, std::uint32_t bytes)
{
    std::string out;
    for (std::uint32_t i = 0; i + 1 < bytes; i += 2) {
        const std::uint32_t c = readU16(text + i);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

NTSTATUS UsbMidiDevice::request(const ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                std::uint32_t &transferred)
{
    transferred = 0;
    if (m_poweredDown.load())
        return STATUS_UNSUCCESSFUL;
    const NTSTATUS result = m_platform.controlTransfer(setup, data, length, transferred);
    if (result == STATUS_DEVICE_NOT_CONNECTED && m_gone)
        m_gone(m_goneContext);
    return result;
}

NTSTATUS UsbMidiDevice::readDescriptor(std::uint8_t type, std::uint8_t index, std::uint16_t language,
                                       std::uint8_t *buffer, std::uint32_t length, std::uint32_t &transferred)
{
    ControlSetup setup;
    setup.function = FunctionGetDescriptorFromDevice;
    setup.request = GetDescriptor;
    setup.value = static_cast<std::uint16_t>(type << 8 | index);
    setup.index = language;
    setup.directionIn = true;
    return request(setup, buffer, length, transferred);
}

NTSTATUS UsbMidiDevice::initialise()
{
    const NTSTATUS result = readDescriptors();
    if (!NT_SUCCESS(result))
        return result;
    return m_platform.selectConfiguration(m_configuration.data(), configurationLength());
}

NTSTATUS UsbMidiDevice::readDescriptors()
{
    std::uint32_t got = 0;
    NTSTATUS result = readDescriptor(DeviceDescriptorType, 0, 0, m_device, DeviceDescriptorLength, got);
    if (!NT_SUCCESS(result))
        return result;
    if (got < DeviceDescriptorLength || m_device[1] != DeviceDescriptorType)
        return STATUS_DEVICE_CONFIGURATION_ERROR;
    m_haveDevice = true;
    m_vendorId = readU16(m_device + DeviceIdVendor);
    m_productId = readU16(m_device + DeviceIdProduct);
    m_bcdDevice = readU16(m_device + DeviceBcdDevice);

    std::uint8_t header[ConfigurationHeaderLength] = {};
    result = readDescriptor(ConfigurationDescriptorType, 0, 0, header, sizeof header, got);
    if (!NT_SUCCESS(result))
        return result;
    const std::uint16_t total = readU16(header + 2);
    if (got < ConfigurationHeaderLength || header[1] != ConfigurationDescriptorType ||
        total < ConfigurationHeaderLength)
        return STATUS_DEVICE_CONFIGURATION_ERROR;
    m_configuration.assign(total, 0);
    result = readDescriptor(ConfigurationDescriptorType, 0, 0, m_configuration.data(), total, got);
    if (!NT_SUCCESS(result))
        return result;
    m_configuration.resize(got);
    return STATUS_SUCCESS;
}

void UsbMidiDevice::addLanguage(std::uint8_t source, std::uint16_t id)
{
    if (m_languageCount < MaxLanguages)
        m_languages[m_languageCount++] = LanguageEntry{source, id};
}

bool UsbMidiDevice::hasLanguage(std::uint16_t id) const
{
    for (std::uint32_t i = 0; i < m_languageCount; ++i) {
        if (m_languages[i].id == id)
            return true;
    }
    return false;
}

void UsbMidiDevice::readLanguageFile(const LanguageFile &file)
{
    char section[64];
    char key[16];
    std::snprintf(section, sizeof section, "USB\\VID_%04X&PID_%04X.LANGID", m_vendorId, m_productId);
    for (int i = 1;; ++i) {
        std::snprintf(key, sizeof key, "%d", i);
        std::uint32_t id = 0;
        if (!file.hexValue(section, key, id) || id == 0 || m_languageCount == MaxLanguages)
            break;
        addLanguage(FromLanguageFile, static_cast<std::uint16_t>(id));
    }
    std::snprintf(section, sizeof section, "USB\\VID_%04X&PID_%04X.FIXUP.%03X", m_vendorId, m_productId, m_bcdDevice);
    static constexpr struct {
        const char *name;
        std::uint32_t offset;
    } indexes[] = {
        {"iManufacturer", DeviceIManufacturer}, {"iProduct", DeviceIProduct}, {"iSerialNumber", DeviceISerialNumber}};
    for (const auto &index : indexes) {
        std::uint32_t value = 0;
        if (file.hexValue(section, index.name, value) && (value & 0xFF) != 0)
            m_device[index.offset] = static_cast<std::uint8_t>(value);
    }
    for (int i = 1;; ++i) {
        std::snprintf(key, sizeof key, "%d", i);
        std::uint32_t patch = 0;
        if (!file.hexValue(section, key, patch))
            break;
        const std::uint32_t offset = patch >> 16;
        const std::uint8_t expected = static_cast<std::uint8_t>(patch >> 8);
        if (offset < m_configuration.size() && m_configuration[offset] == expected)
            m_configuration[offset] = static_cast<std::uint8_t>(patch);
    }
}

void UsbMidiDevice::applyLanguages()
{
    m_languageFile[0] = 0;
    if (!NT_SUCCESS(m_platform.readRegistryString("Language", "LANGFILE", m_languageFile, sizeof m_languageFile)))
        m_languageFile[0] = 0;
    m_languageCount = 0;
    const LanguageFile file(m_platform, m_languageFile);
    if (file.present())
        readLanguageFile(file);

    std::uint8_t list[MaxStringLength] = {};
    std::uint32_t got = 0;
    if (NT_SUCCESS(readDescriptor(StringDescriptorType, 0, 0, list, sizeof list, got))) {
        const std::uint32_t end = got < list[0] ? got : list[0];
        for (std::uint32_t at = 2; at + 1 < end; at += 2) {
            const std::uint16_t id = readU16(list + at);
            if (!hasLanguage(id))
                addLanguage(FromDevice, id);
        }
    }

    char wanted[17] = {};
    std::uint16_t wantedId = DefaultLanguage;
    if (NT_SUCCESS(m_platform.readRegistryString("Language", "LANGID", wanted, sizeof wanted)) &&
        std::strlen(wanted) >= 4)
        wantedId = static_cast<std::uint16_t>(LanguageFile::parseHex(std::string(wanted, 4)));
    chooseLanguage(wantedId);
}

// The wanted language, else its primary language, else a sublanguage of it,
// else US English when offered, else the first one offered.
void UsbMidiDevice::chooseLanguage(std::uint16_t wanted)
{
    std::uint8_t list[MaxStringLength] = {MaxStringLength, StringDescriptorType};
    if (!NT_SUCCESS(lookupString(0, 0, list, sizeof list))) {
        m_language = DefaultLanguage;
        return;
    }
    const std::uint32_t count = list[0] >= 2 ? (list[0] - 2u) / 2u : 0u;
    auto id = [&](std::uint32_t i) { return readU16(list + 2 + 2 * i); };
    const std::uint16_t primary = wanted & 0x3FF;
    std::int32_t sublanguage = -1;
    bool hasDefault = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (id(i) == wanted) {
            m_language = wanted;
            return;
        }
        if (sublanguage < 0 && (id(i) & 0x3FF) == primary && id(i) != primary)
            sublanguage = static_cast<std::int32_t>(i);
        hasDefault = hasDefault || id(i) == DefaultLanguage;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (id(i) == primary) {
            m_language = primary;
            return;
        }
    }
    if (sublanguage >= 0)
        m_language = id(static_cast<std::uint32_t>(sublanguage));
    else if (count == 0 || hasDefault)
        m_language = DefaultLanguage;
    else
        m_language = id(0);
}

NTSTATUS UsbMidiDevice::lookupString(std::uint8_t index, std::uint16_t language, std::uint8_t *buffer,
                                     std::uint32_t length)
{
    if (length < 2)
        return STATUS_BUFFER_TOO_SMALL;
    if (length > MaxStringLength)
        length = MaxStringLength;
    buffer[1] = StringDescriptorType;
    if (index == 0) {
        const std::uint32_t full = (m_languageCount + 1) * 2;
        const std::uint32_t size = full < length ? full : length;
        buffer[0] = static_cast<std::uint8_t>(size);
        for (std::uint32_t i = 0; 2 + 2 * i + 1 < size; ++i) {
            buffer[2 + 2 * i] = static_cast<std::uint8_t>(m_languages[i].id);
            buffer[3 + 2 * i] = static_cast<std::uint8_t>(m_languages[i].id >> 8);
        }
        return STATUS_SUCCESS;
    }
    const LanguageEntry *entry = nullptr;
    for (std::uint32_t i = 0; i < m_languageCount && !entry; ++i) {
        if (m_languages[i].id == language)
            entry = &m_languages[i];
    }
    if (!entry) {
        buffer[0] = 2;
        return STATUS_NOT_SUPPORTED;
    }
    if (entry->source == FromDevice) {
        std::uint32_t got = 0;
        const NTSTATUS result = readDescriptor(StringDescriptorType, index, language, buffer, length, got);
        if (NT_SUCCESS(result) && (got < 2 || buffer[1] != StringDescriptorType || buffer[0] > got)) {
            buffer[0] = static_cast<std::uint8_t>(got < 2 ? 2 : got & ~1u);
            buffer[1] = StringDescriptorType;
        }
        return result;
    }
    char section[64];
    char key[8];
    std::snprintf(section, sizeof section, "USB\\VID_%04X&PID_%04X.%04X", m_vendorId, m_productId, language);
    std::snprintf(key, sizeof key, "%d", index);
    std::string text;
    LanguageFile(m_platform, m_languageFile).bytesValue(section, key, text);
    std::uint32_t bytes = static_cast<std::uint32_t>(text.size());
    if (bytes > length - 2)
        bytes = length - 2;
    bytes &= ~1u;
    std::memcpy(buffer + 2, text.data(), bytes);
    if (2 + bytes + 2 <= length)
        buffer[2 + bytes] = buffer[3 + bytes] = 0;
    buffer[0] = static_cast<std::uint8_t>(bytes + 2);
    return STATUS_SUCCESS;
}

std::string UsbMidiDevice::readString(std::uint8_t index, std::uint16_t language)
{
    std::uint8_t buffer[MaxStringLength] = {};
    if (index == 0 || !NT_SUCCESS(lookupString(index, language, buffer, sizeof buffer)) || buffer[0] < 2)
        return std::string();
    return utf8FromUtf16(buffer + 2, buffer[0] - 2u);
}

} // namespace Zel

#pragma once

#include "driver/ZelPlatform.h"
#include "tests/support/QueuedDriverPlatform.h"

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

// A driver platform for fuzz targets: descriptors and the language file come
// from the input, bulk transfers wait until the target completes them itself.
class FuzzDriverPlatform : public ZelTest::QueuedDriverPlatform
{
public:
    FuzzDriverPlatform() : QueuedDriverPlatform(Zel::STATUS_PENDING) {}
    ~FuzzDriverPlatform() override { stopCompleter(); }

    std::vector<std::uint8_t> device;
    std::vector<std::uint8_t> configuration;
    std::vector<std::uint8_t> strings;
    std::string languageFile;
    std::string langId;

    std::uint64_t now100ns() override { return ++m_clock; }

    Zel::NTSTATUS controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                  std::uint32_t &transferred) override
    {
        transferred = 0;
        const std::vector<std::uint8_t> *source = nullptr;
        if (setup.function == Zel::FunctionGetDescriptorFromDevice) {
            const int type = setup.value >> 8;
            source = type == 1 ? &device : type == 2 ? &configuration : type == 3 ? &strings : nullptr;
        } else {
            source = &strings;
        }
        if (!source)
            return Zel::STATUS_UNSUCCESSFUL;
        if (setup.directionIn) {
            transferred = static_cast<std::uint32_t>(std::min<std::size_t>(length, source->size()));
            if (transferred)
                std::memcpy(data, source->data(), transferred);
        } else {
            transferred = length;
        }
        return Zel::STATUS_SUCCESS;
    }
    Zel::NTSTATUS readRegistryDword(const char *, const char *, std::uint32_t &) override
    {
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    }
    Zel::NTSTATUS readRegistryString(const char *, const char *name, char *value, std::uint32_t capacity) override
    {
        const std::string text = std::strcmp(name, "LANGFILE") == 0 ? (languageFile.empty() ? "" : "lang.ini") : langId;
        if (text.empty() || text.size() >= capacity)
            return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
        std::memcpy(value, text.c_str(), text.size() + 1);
        return Zel::STATUS_SUCCESS;
    }
    Zel::NTSTATUS writeRegistryString(const char *, const char *, const char *) override { return Zel::STATUS_SUCCESS; }
    Zel::NTSTATUS readFile(const char *, std::uint64_t offset, std::uint8_t *buffer, std::uint32_t length,
                           std::uint32_t &read) override
    {
        return readFrom(languageFile, offset, buffer, length, read);
    }

private:
    std::atomic<std::uint64_t> m_clock{0};
};

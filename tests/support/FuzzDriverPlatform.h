#pragma once

#include "driver/ZelPlatform.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

// A driver platform for fuzz targets: descriptors and the language file come
// from the input, bulk transfers wait until the target completes them itself.
class FuzzDriverPlatform : public Zel::DriverPlatform
{
public:
    std::vector<std::uint8_t> device;
    std::vector<std::uint8_t> configuration;
    std::vector<std::uint8_t> strings;
    std::string languageFile;
    std::string langId;
    std::vector<Zel::BulkRequest *> pending;

    std::uint64_t now100ns() override { return ++m_clock; }
    Zel::NTSTATUS submitBulk(Zel::BulkRequest &request) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        pending.push_back(&request);
        return Zel::STATUS_PENDING;
    }

    // Completes the oldest transfer with everything sent; false when none is out.
    bool completeOne()
    {
        Zel::BulkRequest *request = nullptr;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (pending.empty())
                return false;
            request = pending.front();
            pending.erase(pending.begin());
        }
        request->transferred = request->length;
        request->result = Zel::STATUS_SUCCESS;
        request->completion(*request, request->context);
        return true;
    }

    // Stopping a cable waits for its transfers: teardown completes them on a thread.
    void startCompleter()
    {
        m_completer = std::thread([this] {
            while (!m_stop.load()) {
                if (!completeOne())
                    std::this_thread::yield();
            }
            while (completeOne()) {
            }
        });
    }
    void stopCompleter()
    {
        if (!m_completer.joinable())
            return;
        m_stop = true;
        m_completer.join();
    }
    ~FuzzDriverPlatform() override { stopCompleter(); }
    Zel::NTSTATUS abortPipe(Zel::PipeHandle pipe) override
    {
        std::vector<Zel::BulkRequest *> cancelled;
        for (auto it = pending.begin(); it != pending.end();) {
            if ((*it)->pipe == pipe) {
                cancelled.push_back(*it);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
        for (Zel::BulkRequest *request : cancelled) {
            request->result = Zel::STATUS_CANCELLED;
            request->completion(*request, request->context);
        }
        return Zel::STATUS_SUCCESS;
    }
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
    Zel::NTSTATUS selectConfiguration(const std::uint8_t *, std::uint32_t) override { return Zel::STATUS_SUCCESS; }
    Zel::NTSTATUS selectInterface(std::uint8_t, Zel::PipeSelection *pipes, std::uint32_t count) override
    {
        for (std::uint32_t i = 0; i < count; ++i)
            pipes[i].handle = 0x100 | pipes[i].endpointAddress;
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
        read = 0;
        if (offset >= languageFile.size())
            return Zel::STATUS_END_OF_FILE;
        read = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, languageFile.size() - offset));
        std::memcpy(buffer, languageFile.data() + offset, read);
        return Zel::STATUS_SUCCESS;
    }

private:
    std::atomic<std::uint64_t> m_clock{0};
    std::mutex m_lock;
    std::thread m_completer;
    std::atomic<bool> m_stop{false};
};

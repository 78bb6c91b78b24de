#pragma once

// The driver core's whole view of its platform: status codes, locks, the
// 100 ns clock, USB submission, registry values and the language file. The
// kernel build supplies these from the kernel; the user-space build below uses
// the standard library for the locks and a DriverPlatform implementation
// (platform/sim) for everything that talks to a device or the registry.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace Zel {

using NTSTATUS = std::int32_t;

constexpr NTSTATUS status(std::uint32_t code) { return static_cast<NTSTATUS>(code); }

inline constexpr NTSTATUS STATUS_SUCCESS = 0;
inline constexpr NTSTATUS STATUS_PENDING = 0x103;
inline constexpr NTSTATUS STATUS_UNSUCCESSFUL = status(0xC0000001);
inline constexpr NTSTATUS STATUS_NOT_IMPLEMENTED = status(0xC0000002);
inline constexpr NTSTATUS STATUS_INVALID_PARAMETER = status(0xC000000D);
inline constexpr NTSTATUS STATUS_INVALID_DEVICE_REQUEST = status(0xC0000010);
inline constexpr NTSTATUS STATUS_END_OF_FILE = status(0xC0000011);
inline constexpr NTSTATUS STATUS_NO_MEMORY = status(0xC0000017);
inline constexpr NTSTATUS STATUS_ACCESS_DENIED = status(0xC0000022);
inline constexpr NTSTATUS STATUS_BUFFER_TOO_SMALL = status(0xC0000023);
inline constexpr NTSTATUS STATUS_OBJECT_NAME_NOT_FOUND = status(0xC0000034);
inline constexpr NTSTATUS STATUS_INSUFFICIENT_RESOURCES = status(0xC000009A);
inline constexpr NTSTATUS STATUS_DEVICE_NOT_CONNECTED = status(0xC000009D);
inline constexpr NTSTATUS STATUS_NOT_SUPPORTED = status(0xC00000BB);
inline constexpr NTSTATUS STATUS_CANCELLED = status(0xC0000120);
inline constexpr NTSTATUS STATUS_DEVICE_CONFIGURATION_ERROR = status(0xC0000182);
inline constexpr NTSTATUS STATUS_NOT_FOUND = status(0xC0000225);

constexpr bool NT_SUCCESS(NTSTATUS s) { return s >= 0; }

// Spin lock: taken on the data path, never held across a wait.
class SpinLock
{
public:
    void acquire() { m_lock.lock(); }
    void release() { m_lock.unlock(); }

private:
    std::mutex m_lock;
};

// Kernel mutex: passive level only; state changes and stream list changes.
class KernelMutex
{
public:
    void acquire() { m_lock.lock(); }
    void release() { m_lock.unlock(); }

private:
    std::mutex m_lock;
};

template <class Lock>
class Locked
{
public:
    explicit Locked(Lock &lock) : m_lock(lock) { m_lock.acquire(); }
    ~Locked() { m_lock.release(); }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;

private:
    Lock &m_lock;
};

// Notification event: stays signalled until cleared.
class Event
{
public:
    void set()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_signalled = true;
        m_changed.notify_all();
    }
    void clear()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_signalled = false;
    }
    void wait()
    {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [this] { return m_signalled; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_signalled = false;
};

using PipeHandle = std::uintptr_t;

// Transfer flags of a bulk request.
enum TransferFlag : std::uint32_t {
    TransferDirectionIn = 0x1,
    TransferShortTransferOk = 0x2,
};

// One asynchronous bulk transfer. The platform calls `completion` exactly once
// for every request it accepted, on a thread of its own and never from inside
// submitBulk; `transferred` and `result` are set before it runs.
struct BulkRequest {
    PipeHandle pipe = 0;
    std::uint32_t flags = 0;
    std::uint8_t *buffer = nullptr;
    std::uint32_t length = 0;
    std::uint32_t transferred = 0;
    NTSTATUS result = STATUS_SUCCESS;
    void (*completion)(BulkRequest &request, void *context) = nullptr;
    void *context = nullptr;
};

// Request-block function codes of the control requests the driver sends.
enum RequestFunction : std::uint8_t {
    FunctionGetDescriptorFromDevice = 0x0B,
    FunctionVendorDevice = 0x17,
    FunctionVendorInterface = 0x18,
    FunctionVendorEndpoint = 0x19,
    FunctionClassDevice = 0x1A,
    FunctionClassInterface = 0x1B,
    FunctionClassEndpoint = 0x1C,
    FunctionClassOther = 0x1F,
    FunctionVendorOther = 0x20,
};

// The USB request type (bmRequestType without its direction bit) of a
// function code; -1 for a code that is not one of these.
constexpr int requestTypeOf(std::uint8_t function)
{
    switch (function) {
    case FunctionGetDescriptorFromDevice:
        return 0x00;
    case FunctionVendorDevice:
        return 0x40;
    case FunctionVendorInterface:
        return 0x41;
    case FunctionVendorEndpoint:
        return 0x42;
    case FunctionClassDevice:
        return 0x20;
    case FunctionClassInterface:
        return 0x21;
    case FunctionClassEndpoint:
        return 0x22;
    case FunctionClassOther:
        return 0x23;
    case FunctionVendorOther:
        return 0x43;
    default:
        return -1;
    }
}

struct ControlSetup {
    std::uint8_t function = 0; // RequestFunction
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    bool directionIn = true;
};

struct PipeSelection {
    std::uint8_t endpointAddress = 0;
    std::uint32_t maximumTransferSize = 0;
    PipeHandle handle = 0; // out
};

// What the platform does for the driver core. One instance per device.
class DriverPlatform
{
public:
    virtual ~DriverPlatform() = default;

    // Monotonic time in 100 ns units.
    virtual std::uint64_t now100ns() = 0;

    // Queues a bulk transfer; an error means the completion will not run.
    virtual NTSTATUS submitBulk(BulkRequest &request) = 0;
    // Completes every queued transfer of the pipe (with STATUS_CANCELLED).
    virtual NTSTATUS abortPipe(PipeHandle pipe) = 0;
    // Synchronous control request with an optional data stage.
    virtual NTSTATUS controlTransfer(const ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                     std::uint32_t &transferred) = 0;
    // Selects the configuration with every interface at alternate setting 0.
    virtual NTSTATUS selectConfiguration(const std::uint8_t *configuration, std::uint32_t length) = 0;
    // Selects an interface's alternate setting 0 and hands out its pipe handles.
    virtual NTSTATUS selectInterface(std::uint8_t interfaceNumber, PipeSelection *pipes, std::uint32_t count) = 0;

    // Values of a subkey ("Settings", "Language") of the driver's software key.
    virtual NTSTATUS readRegistryDword(const char *subkey, const char *name, std::uint32_t &value) = 0;
    // Copies at most capacity - 1 characters and a terminating 0.
    virtual NTSTATUS readRegistryString(const char *subkey, const char *name, char *value, std::uint32_t capacity) = 0;
    // A REG_SZ write under a device or interface key; failures do not stop streaming.
    virtual NTSTATUS writeRegistryString(const char *key, const char *name, const char *value) = 0;

    // Reads the language file (opened read-only, shared) at an offset.
    virtual NTSTATUS readFile(const char *path, std::uint64_t offset, std::uint8_t *buffer, std::uint32_t length,
                              std::uint32_t &read) = 0;
};

} // namespace Zel

// The control interface through the Windows set-up API, DeviceIoControl,
// the service control manager and the version resources.
#include "platform/devicecontrol/DeviceControl.h"

#include "driver/contract/DeviceControlProperties.h"

#include <windows.h>

#include <ks.h>
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace Platform {

namespace {

GUID systemGuid(const Zel::Guid &guid)
{
    GUID result;
    result.Data1 = guid.data1;
    result.Data2 = guid.data2;
    result.Data3 = guid.data3;
    std::memcpy(result.Data4, guid.data4, sizeof result.Data4);
    return result;
}

const GUID DeviceControlInterfaceClass = systemGuid(Zel::DeviceControlInterfaceClass);
constexpr DWORD IoctlKsProperty = Zel::IoctlKsProperty;

// The property requests the clients build byte by byte are the system's.
static_assert(sizeof(KSPROPERTY) == Zel::PropertyHeaderSize, "a property request starts with a KSPROPERTY");
static_assert(sizeof(GUID) == 16 && offsetof(KSPROPERTY, Id) == 16 && offsetof(KSPROPERTY, Flags) == 20,
              "the property set, id and flags lie where writePropertyHeader puts them");
static_assert(IOCTL_KS_PROPERTY == Zel::IoctlKsProperty, "the property request's control code is the system's");
static_assert(KSPROPERTY_TYPE_GET == Zel::PropertyGet && KSPROPERTY_TYPE_SET == Zel::PropertySet &&
                  KSPROPERTY_TYPE_SETSUPPORT == Zel::PropertySetSupport,
              "the property flags are the system's");

std::wstring firstInterfacePath(const std::wstring &instanceId)
{
    HDEVINFO set =
        SetupDiGetClassDevsW(&DeviceControlInterfaceClass, instanceId.c_str(), nullptr, DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring path;
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof data;
    if (SetupDiEnumDeviceInterfaces(set, nullptr, &DeviceControlInterfaceClass, 0, &data)) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
        if (size >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            std::vector<std::uint8_t> buffer(size);
            auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W *>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            if (SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr))
                path = detail->DevicePath;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return path;
}

class Win32DeviceControl : public DeviceControl
{
public:
    std::vector<Interface> presentInterfaces() override
    {
        std::vector<Interface> interfaces;
        HDEVINFO set =
            SetupDiGetClassDevsW(&DeviceControlInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE)
            return interfaces;
        SP_DEVINFO_DATA info = {};
        info.cbSize = sizeof info;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
            DWORD size = 0;
            SetupDiGetDeviceInstanceIdW(set, &info, nullptr, 0, &size);
            std::vector<wchar_t> id(size + 1);
            if (!SetupDiGetDeviceInstanceIdW(set, &info, id.data(), size, nullptr))
                continue;
            Interface found;
            found.instanceId = id.data();
            found.path = firstInterfacePath(found.instanceId);
            if (!found.path.empty())
                interfaces.push_back(found);
        }
        SetupDiDestroyDeviceInfoList(set);
        return interfaces;
    }

    Handle open(const std::wstring &path) override
    {
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        return handle == INVALID_HANDLE_VALUE ? InvalidHandle : reinterpret_cast<Handle>(handle);
    }

    Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t inputSize, std::uint8_t *output,
                           std::uint32_t outputSize) override
    {
        Result result;
        if (handle == InvalidHandle) {
            result.status = ERROR_INVALID_HANDLE;
            return result;
        }
        DWORD returned = 0;
        result.ok =
            DeviceIoControl(reinterpret_cast<HANDLE>(handle), IoctlKsProperty, const_cast<std::uint8_t *>(input),
                            inputSize, output, outputSize, &returned, nullptr) != FALSE;
        result.status = result.ok ? 0 : static_cast<std::int32_t>(GetLastError());
        result.returned = returned;
        return result;
    }

    // The invalid handle's value is also the current process's pseudo-handle: never pass it on.
    void close(Handle handle) override
    {
        if (handle != InvalidHandle)
            CloseHandle(reinterpret_cast<HANDLE>(handle));
    }

    std::wstring serviceName(const std::wstring &instanceId) override
    {
        HDEVINFO set = SetupDiGetClassDevsW(&DeviceControlInterfaceClass, instanceId.c_str(), nullptr,
                                            DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE)
            return std::wstring();
        std::wstring service;
        SP_DEVINFO_DATA info = {};
        info.cbSize = sizeof info;
        if (SetupDiEnumDeviceInfo(set, 0, &info)) {
            wchar_t name[256] = {};
            if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_SERVICE, nullptr, reinterpret_cast<PBYTE>(name),
                                                  sizeof name - sizeof(wchar_t), nullptr))
                service = name;
        }
        SetupDiDestroyDeviceInfoList(set);
        return service;
    }

    std::wstring serviceBinaryPath(const std::wstring &service) override
    {
        SC_HANDLE manager = OpenSCManagerW(nullptr, L"ServicesActive", SC_MANAGER_CONNECT);
        if (!manager)
            return std::wstring();
        std::wstring path;
        SC_HANDLE handle = OpenServiceW(manager, service.c_str(), SERVICE_QUERY_CONFIG);
        if (handle) {
            DWORD needed = 0;
            QueryServiceConfigW(handle, nullptr, 0, &needed);
            std::vector<std::uint8_t> buffer(needed);
            auto *config = reinterpret_cast<QUERY_SERVICE_CONFIGW *>(buffer.data());
            if (needed && QueryServiceConfigW(handle, config, needed, &needed) && config->lpBinaryPathName)
                path = config->lpBinaryPathName;
            CloseServiceHandle(handle);
        }
        CloseServiceHandle(manager);
        return path;
    }

    FileVersion fileVersion(const std::wstring &path) override
    {
        FileVersion version;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0)
            return version;
        std::vector<std::uint8_t> data(size);
        VS_FIXEDFILEINFO *info = nullptr;
        UINT length = 0;
        if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
            !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&info), &length) || !info)
            return version;
        version.part[0] = HIWORD(info->dwFileVersionMS);
        version.part[1] = LOWORD(info->dwFileVersionMS);
        version.part[2] = HIWORD(info->dwFileVersionLS);
        version.part[3] = LOWORD(info->dwFileVersionLS);
        return version;
    }
};

} // namespace

std::unique_ptr<DeviceControl> createSystemDeviceControl() { return std::make_unique<Win32DeviceControl>(); }

} // namespace Platform

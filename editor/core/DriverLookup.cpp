#include "editor/core/DriverLookup.h"

#include "driver/contract/DeviceControlProperties.h"
#include "driver/contract/UsbMidiDescriptors.h"
#include "editor/core/model/DeviceModel.h"

namespace Brisel {

using Platform::DeviceControl;

namespace {

bool matches(DeviceControl &control, const std::wstring &path, int productId)
{
    const DeviceControl::Handle handle = control.open(path);
    if (handle == DeviceControl::InvalidHandle)
        return false;
    std::uint8_t request[Zel::PropertyHeaderSize];
    Zel::writePropertyHeader(request, Zel::PropertyDeviceDescriptor, Zel::PropertySetSupport);
    bool found = control.propertyRequest(handle, request, sizeof request, nullptr, 0).ok;
    if (found) {
        std::uint8_t descriptor[Zel::DeviceDescriptorLength] = {};
        Zel::writePropertyHeader(request, Zel::PropertyDeviceDescriptor, Zel::PropertyGet);
        found = control.propertyRequest(handle, request, sizeof request, descriptor, sizeof descriptor).ok &&
                Zel::readU16(descriptor + Zel::DeviceIdVendor) == VendorId &&
                Zel::readU16(descriptor + Zel::DeviceIdProduct) == productId;
    }
    control.close(handle);
    return found;
}

} // namespace

std::wstring findDriverPath(DeviceControl &control, int productId)
{
    if (productId == 0)
        return std::wstring();
    for (const DeviceControl::Interface &present : control.presentInterfaces()) {
        if (!matches(control, present.path, productId))
            continue;
        const std::wstring service = control.serviceName(present.instanceId);
        return service.empty() ? std::wstring() : control.serviceBinaryPath(service);
    }
    return std::wstring();
}

DeviceControl::FileVersion fileVersionOf(DeviceControl &control, const std::wstring &path)
{
    return path.empty() ? DeviceControl::FileVersion() : control.fileVersion(path);
}

} // namespace Brisel

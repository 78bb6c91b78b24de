#include "driver/PropertyHandler.h"

#include "driver/UsbDescriptors.h"
#include "driver/UsbMidiAdapter.h"

#include <cstring>
#include <memory>
#include <new>

namespace Zel {

namespace {

struct Context {
    UsbMidiAdapter &adapter;
    const PropertyRequest &request;
    std::uint32_t &reported;

    const std::uint8_t *configuration() const
    {
        UsbMidiDevice *device = adapter.device();
        return device ? device->configuration() : nullptr;
    }
    std::uint32_t configurationLength() const
    {
        UsbMidiDevice *device = adapter.device();
        return device ? device->configurationLength() : 0;
    }
    std::uint8_t interfaceCount() const
    {
        return configurationLength() >= ConfigurationHeaderLength ? configuration()[ConfigurationNumInterfaces] : 0;
    }
    NTSTATUS copyFixed(const std::uint8_t *source, std::uint32_t size) const
    {
        reported = size;
        if (request.valueSize < size)
            return STATUS_BUFFER_TOO_SMALL;
        if (!source)
            return STATUS_UNSUCCESSFUL;
        std::memcpy(request.value, source, size);
        return STATUS_SUCCESS;
    }
};

NTSTATUS getDeviceDescriptor(const Context &c)
{
    UsbMidiDevice *device = c.adapter.device();
    return c.copyFixed(device ? device->deviceDescriptor() : nullptr, DeviceDescriptorLength);
}

NTSTATUS getConfigurationDescriptor(const Context &c)
{
    return c.copyFixed(c.configurationLength() >= ConfigurationHeaderLength ? c.configuration() : nullptr,
                       ConfigurationHeaderLength);
}

NTSTATUS getInterfaceDescriptor(const Context &c)
{
    c.reported = InterfaceDescriptorLength;
    if (c.request.valueSize < InterfaceDescriptorLength)
        return STATUS_BUFFER_TOO_SMALL;
    if (c.request.instanceSize < InterfaceInstanceSize)
        return STATUS_INVALID_PARAMETER;
    static constexpr std::uint32_t instanceFields[5] = {InterfaceInstanceNumber, InterfaceInstanceAlternate,
                                                        InterfaceInstanceClass, InterfaceInstanceSubClass,
                                                        InterfaceInstanceProtocol};
    static constexpr std::uint32_t descriptorFields[5] = {InterfaceNumber, InterfaceAlternateSetting, InterfaceClass,
                                                          InterfaceSubClass, InterfaceProtocol};
    std::uint32_t wanted[5];
    for (int i = 0; i < 5; ++i)
        wanted[i] = readU32(c.request.instance + instanceFields[i]);
    if (wanted[0] != AnyInterfaceField && wanted[0] > c.interfaceCount())
        return STATUS_INVALID_PARAMETER;
    const DescriptorWalker walker(c.configuration(), c.configurationLength());
    for (std::uint32_t at = walker.begin(); at < walker.length(); at = walker.next(at)) {
        const std::uint8_t *d = walker.at(at);
        if (d[DescriptorTypeField] != InterfaceDescriptorType || d[DescriptorLengthField] < InterfaceDescriptorLength)
            continue;
        bool match = true;
        for (int i = 0; i < 5 && match; ++i)
            match = wanted[i] == AnyInterfaceField || wanted[i] == d[descriptorFields[i]];
        if (match) {
            std::memcpy(c.request.value, d, InterfaceDescriptorLength);
            return STATUS_SUCCESS;
        }
    }
    return STATUS_UNSUCCESSFUL;
}

// The walk checks the standard descriptors' lengths and ends at the first
// that is wrong or runs past the total length.
NTSTATUS getEndpointDescriptor(const Context &c)
{
    c.reported = EndpointDescriptorLength;
    if (c.request.valueSize < EndpointDescriptorLength)
        return STATUS_BUFFER_TOO_SMALL;
    if (c.request.instanceSize < EndpointInstanceSize)
        return STATUS_INVALID_PARAMETER;
    const std::uint8_t number = c.request.instance[InstanceInterfaceNumber];
    const std::uint8_t alternate = c.request.instance[InstanceAlternateSetting];
    const std::uint8_t index = c.request.instance[EndpointInstanceIndex];
    const std::uint8_t *config = c.configuration();
    const std::uint32_t total = c.configurationLength();
    bool inside = false;
    std::uint32_t counted = 0;
    for (std::uint32_t at = 0; at + 2 <= total;) {
        const std::uint8_t *d = config + at;
        const std::uint8_t size = d[DescriptorLengthField];
        const std::uint8_t type = d[DescriptorTypeField];
        if (size < 2 || at + size > total)
            break;
        if (type == ConfigurationDescriptorType && size != ConfigurationHeaderLength)
            break;
        if (type == InterfaceDescriptorType) {
            if (size != 9 && size != 11)
                break;
            if (inside)
                break;
            if (d[InterfaceNumber] == number && d[InterfaceAlternateSetting] == alternate) {
                if (index >= d[InterfaceNumEndpoints])
                    break;
                inside = true;
            }
        } else if (type == EndpointDescriptorType) {
            if (size != 7 && size != 9)
                break;
            if (inside && counted++ == index) {
                std::memcpy(c.request.value, d, EndpointDescriptorLength);
                return STATUS_SUCCESS;
            }
        }
        at += size;
    }
    return STATUS_UNSUCCESSFUL;
}

NTSTATUS getStringDescriptor(const Context &c)
{
    if (c.request.instanceSize < StringInstanceSize || c.request.valueSize < 4)
        return STATUS_INVALID_PARAMETER;
    UsbMidiDevice *device = c.adapter.device();
    if (!device)
        return STATUS_UNSUCCESSFUL;
    std::memset(c.request.value, 0, c.request.valueSize);
    const std::uint32_t size =
        c.request.valueSize < UsbMidiDevice::MaxStringLength ? c.request.valueSize : UsbMidiDevice::MaxStringLength;
    c.request.value[DescriptorLengthField] = static_cast<std::uint8_t>(size);
    c.request.value[DescriptorTypeField] = StringDescriptorType;
    const NTSTATUS result =
        device->lookupString(c.request.instance[StringInstanceIndex],
                             readU16(c.request.instance + StringInstanceLanguage), c.request.value, size);
    if (NT_SUCCESS(result))
        c.reported = c.request.value[DescriptorLengthField];
    else if (result == STATUS_BUFFER_TOO_SMALL)
        c.reported = UsbMidiDevice::MaxStringLength;
    return result;
}

// Offset of the descriptor right after the interface (number, alternate), or total length.
std::uint32_t afterInterface(const DescriptorWalker &walker, std::uint8_t number, std::uint8_t alternate)
{
    const std::uint32_t interface = walker.findInterface(number, alternate);
    return interface < walker.length() ? walker.next(interface) : walker.length();
}

NTSTATUS getClassInterfaceDescriptors(const Context &c)
{
    if (c.request.instanceSize < ClassInterfaceInstanceSize)
        return STATUS_INVALID_PARAMETER;
    const std::uint8_t *instance = c.request.instance;
    const std::uint8_t wantedType = instance[ClassInterfaceInstanceType];
    if (instance[InstanceInterfaceNumber] > c.interfaceCount())
        return STATUS_INVALID_PARAMETER;
    const DescriptorWalker walker(c.configuration(), c.configurationLength());
    const std::uint32_t at =
        afterInterface(walker, instance[InstanceInterfaceNumber], instance[InstanceAlternateSetting]);
    if (at >= walker.length() || walker.at(at)[DescriptorTypeField] != wantedType)
        return STATUS_UNSUCCESSFUL;
    if (wantedType != ClassInterfaceDescriptorType)
        return STATUS_INVALID_PARAMETER;
    const std::uint8_t *d = walker.at(at);
    const std::uint32_t own = d[DescriptorLengthField];
    std::uint32_t total = own >= MsHeaderLength ? readU16(d + MsHeaderTotalLength) : own;
    // The header's total may claim more than the configuration holds.
    if (total > walker.length() - at)
        total = walker.length() - at;
    if (total < own)
        total = own;
    std::uint32_t copy = 0;
    if (c.request.valueSize >= total)
        copy = total;
    else if (c.request.valueSize >= own)
        copy = own;
    else {
        c.reported = total;
        return STATUS_BUFFER_TOO_SMALL;
    }
    std::memcpy(c.request.value, d, copy);
    c.reported = copy;
    return STATUS_SUCCESS;
}

NTSTATUS getClassEndpointDescriptor(const Context &c)
{
    if (c.request.instanceSize < ClassEndpointInstanceSize)
        return STATUS_INVALID_PARAMETER;
    const std::uint8_t *instance = c.request.instance;
    const std::uint8_t address = instance[ClassEndpointInstanceAddress];
    const std::uint8_t wantedType = instance[ClassEndpointInstanceType];
    const DescriptorWalker walker(c.configuration(), c.configurationLength());
    const std::uint32_t interface =
        walker.findInterface(instance[InstanceInterfaceNumber], instance[InstanceAlternateSetting]);
    if (interface >= walker.length())
        return STATUS_UNSUCCESSFUL;
    const std::uint32_t end = walker.interfaceEnd(interface);
    for (std::uint32_t at = walker.next(interface); at < end; at = walker.next(at)) {
        const std::uint8_t *d = walker.at(at);
        if (d[DescriptorTypeField] != EndpointDescriptorType || d[DescriptorLengthField] < EndpointDescriptorLength ||
            d[EndpointAddress] != address)
            continue;
        const std::uint32_t following = walker.next(at);
        if (following >= walker.length() || walker.at(following)[DescriptorTypeField] != wantedType)
            return STATUS_UNSUCCESSFUL;
        if (wantedType != ClassEndpointDescriptorType)
            return STATUS_INVALID_PARAMETER;
        const std::uint8_t *cs = walker.at(following);
        const std::uint8_t length = cs[DescriptorLengthField];
        c.reported = length;
        if (c.request.valueSize < length)
            return STATUS_BUFFER_TOO_SMALL;
        std::memcpy(c.request.value, cs, length);
        return STATUS_SUCCESS;
    }
    return STATUS_UNSUCCESSFUL;
}

ControlSetup setupFrom(const std::uint8_t *instance, bool in)
{
    ControlSetup setup;
    setup.function = instance[ControlFunction];
    setup.request = instance[ControlRequestCode];
    setup.value = readU16(instance + ControlValue);
    setup.index = readU16(instance + ControlIndex);
    setup.directionIn = in;
    return setup;
}

NTSTATUS controlRequest(const Context &c, bool in)
{
    if (c.request.instanceSize < ControlHeaderSize)
        return STATUS_INVALID_PARAMETER;
    const std::uint8_t *instance = c.request.instance;
    const std::uint32_t length = in ? c.request.valueSize : readU32(instance + ControlDataLength);
    // The data must lie inside the instance.
    if (!in && length > c.request.instanceSize - ControlData)
        return STATUS_INVALID_PARAMETER;
    if (c.request.atDispatchLevel)
        return STATUS_ACCESS_DENIED;
    UsbMidiDevice *device = c.adapter.device();
    if (!device)
        return STATUS_UNSUCCESSFUL;
    std::unique_ptr<std::uint8_t[]> buffer;
    if (length > 0) {
        buffer.reset(new (std::nothrow) std::uint8_t[length]());
        if (!buffer)
            return STATUS_INSUFFICIENT_RESOURCES;
        if (!in)
            std::memcpy(buffer.get(), instance + ControlData, length);
    }
    std::uint32_t transferred = 0;
    const NTSTATUS result = device->request(setupFrom(instance, in), buffer.get(), length, transferred);
    if (NT_SUCCESS(result) && in) {
        if (transferred > length)
            transferred = length;
        if (transferred)
            std::memcpy(c.request.value, buffer.get(), transferred);
        c.reported = transferred;
    }
    return result;
}

using Getter = NTSTATUS (*)(const Context &);

constexpr Getter getters[] = {
    getDeviceDescriptor, getConfigurationDescriptor,   getInterfaceDescriptor,     getEndpointDescriptor,
    getStringDescriptor, getClassInterfaceDescriptors, getClassEndpointDescriptor,
};

} // namespace

NTSTATUS handleProperty(UsbMidiAdapter &adapter, const PropertyRequest &request, std::uint32_t &reported)
{
    reported = 0;
    const Context c{adapter, request, reported};
    if (request.flags == PropertyGet) {
        if (request.id < sizeof getters / sizeof getters[0])
            return getters[request.id](c);
        if (request.id == PropertyControlRequest)
            return controlRequest(c, true);
        return STATUS_INVALID_PARAMETER;
    }
    if (request.flags == PropertySet) {
        switch (request.id) {
        case PropertyControlRequest:
            return controlRequest(c, false);
        case PropertyLock:
            return adapter.setExclusiveLock(true);
        case PropertyUnlock:
            return adapter.setExclusiveLock(false);
        default:
            return STATUS_INVALID_PARAMETER;
        }
    }
    return STATUS_INVALID_PARAMETER;
}

NTSTATUS handleKsProperty(UsbMidiAdapter &adapter, const std::uint8_t *input, std::uint32_t inputSize,
                          std::uint8_t *output, std::uint32_t outputSize, std::uint32_t &returned)
{
    returned = 0;
    NTSTATUS result = adapter.checkDeviceControl();
    if (!NT_SUCCESS(result))
        return result;
    if (inputSize < PropertyHeaderSize)
        return STATUS_BUFFER_TOO_SMALL;
    if (!DeviceControlPropertySet.matches(input))
        return STATUS_NOT_FOUND;
    PropertyRequest request;
    request.id = readU32(input + PropertyHeaderId);
    request.flags = readU32(input + PropertyHeaderFlags);
    if (request.flags == PropertySetSupport)
        return STATUS_SUCCESS;
    request.instance = input + PropertyHeaderSize;
    request.instanceSize = inputSize - PropertyHeaderSize;
    request.value = output;
    request.valueSize = output ? outputSize : 0;
    result = handleProperty(adapter, request, returned);
    if (returned > request.valueSize)
        returned = NT_SUCCESS(result) ? request.valueSize : returned;
    return result;
}

} // namespace Zel

#include "tests/support/EmulatedUsbBus.h"
#include "tests/support/SimTestSupport.h"

#include "platform/alsa/ControllerLock.h"
#include "platform/linux/LibusbDeviceControl.h"
#include "platform/sim/SimDeviceControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace PlatformTest;
using Platform::DeviceControl;

namespace {

namespace fs = std::filesystem;

class LibusbControl : public testing::Test
{
protected:
    LibusbControl() { fs::create_directories(runtime); }
    ~LibusbControl() override
    {
        control.reset();
        fs::remove_all(runtime);
    }

    Platform::ControllerLock lock() const { return Platform::ControllerLock(bus.root(), runtime.string()); }
    // libusb lists the devices plugged in before it starts.
    DeviceControl &start()
    {
        control = std::make_unique<Platform::LibusbDeviceControl>(lock(), bus.root());
        return *control;
    }
    // A controller plugged in at 1-1, opened.
    DeviceControl::Handle plugAndOpen(std::shared_ptr<Sim::UsbController> usb = controller(3, 1), int soundCard = -1)
    {
        bus.plug(std::move(usb), 1, soundCard);
        const auto interfaces = start().presentInterfaces();
        return interfaces.empty() ? DeviceControl::InvalidHandle : control->open(interfaces[0].path);
    }

    UsbEmulation::EmulatedUsbBus bus;
    fs::path runtime = fs::temp_directory_path() / ("vorpad-libusb-test-" + std::to_string(::getpid()));
    std::unique_ptr<Platform::LibusbDeviceControl> control;
};

TEST_F(LibusbControl, ListsTheControllersInBusOrderAndNothingElse)
{
    EXPECT_TRUE(start().presentInterfaces().empty());
    control.reset();
    bus.plug(controller(4, 2), 3);
    bus.plugForeign(2);
    bus.plug(controller(3, 1), 1);
    const auto interfaces = start().presentInterfaces();
    ASSERT_EQ(interfaces.size(), 2u);
    EXPECT_EQ(interfaces[0].path, L"1-1");
    EXPECT_EQ(interfaces[0].instanceId, L"USB\\VID_041E&PID_3F01\\1-1");
    EXPECT_EQ(interfaces[1].instanceId, L"USB\\VID_041E&PID_3F06\\1-3");
    EXPECT_EQ(control->open(L"1-2"), DeviceControl::InvalidHandle);
}

// One request of the table, with the status both backends must give.
struct TableRow {
    const char *name;
    std::uint32_t id;
    std::uint32_t flags;
    Bytes instance;
    std::uint32_t valueSize;
    Zel::NTSTATUS status;
};

Bytes controlInstance(std::uint8_t function, std::uint8_t request, std::uint16_t value, const Bytes &data = {})
{
    Bytes instance = vendorInstance(request, value, 0, data);
    instance[0] = function;
    return instance;
}

const TableRow table[] = {
    {"probe", Zel::PropertyDeviceDescriptor, Zel::PropertySetSupport, {}, 0, Zel::STATUS_SUCCESS},
    {"device descriptor", 0, Zel::PropertyGet, {}, 18, Zel::STATUS_SUCCESS},
    {"device descriptor, short buffer", 0, Zel::PropertyGet, {}, 17, Zel::STATUS_BUFFER_TOO_SMALL},
    {"configuration descriptor", 1, Zel::PropertyGet, {}, 9, Zel::STATUS_SUCCESS},
    {"interface descriptor, any", 2, Zel::PropertyGet, Bytes(20, 0xFF), 9, Zel::STATUS_SUCCESS},
    {"endpoint descriptor", 3, Zel::PropertyGet, {1, 0, 0}, 7, Zel::STATUS_SUCCESS},
    {"endpoint descriptor, no such index", 3, Zel::PropertyGet, {1, 0, 9}, 7, Zel::STATUS_UNSUCCESSFUL},
    {"product string", 4, Zel::PropertyGet, {2, 0, 0x09, 0x04}, 64, Zel::STATUS_SUCCESS},
    {"languages", 4, Zel::PropertyGet, {0, 0, 0, 0}, 64, Zel::STATUS_SUCCESS},
    {"class interface descriptors", 5, Zel::PropertyGet, {1, 0, 0x24}, 128, Zel::STATUS_SUCCESS},
    {"class endpoint descriptor", 6, Zel::PropertyGet, {1, 0, 0x01, 0x25}, 16, Zel::STATUS_SUCCESS},
    {"version, in with data", 7, Zel::PropertyGet, vendorInstance(1), 8, Zel::STATUS_SUCCESS},
    {"status, in without data", 7, Zel::PropertyGet, vendorInstance(0), 0, Zel::STATUS_SUCCESS},
    {"block outside an update, out with data", 7, Zel::PropertySet, vendorInstance(5, 0, 0, Bytes(64, 7)), 0,
     Zel::STATUS_UNSUCCESSFUL},
    {"end outside an update, out without data", 7, Zel::PropertySet, vendorInstance(6), 0, Zel::STATUS_UNSUCCESSFUL},
    {"unknown vendor request stalls", 7, Zel::PropertyGet, vendorInstance(0x33), 4, Zel::STATUS_UNSUCCESSFUL},
    {"standard request to the device", 7, Zel::PropertyGet,
     controlInstance(Zel::FunctionGetDescriptorFromDevice, 6, 0x0100), 18, Zel::STATUS_SUCCESS},
    {"control request, short instance", 7, Zel::PropertyGet, Bytes(8, 0), 4, Zel::STATUS_INVALID_PARAMETER},
    {"unknown property", 9, Zel::PropertyGet, {}, 4, Zel::STATUS_INVALID_PARAMETER},
    {"unknown verb", 0, 0x4, {}, 18, Zel::STATUS_INVALID_PARAMETER},
};

class PropertyTable : public LibusbControl, public testing::WithParamInterface<TableRow>
{
};

// The driver core answers both: the simulated machine's through its full
// start, the libusb one through its control-only start and real usbfs calls.
TEST_P(PropertyTable, BothBackendsAnswerAlike)
{
    const TableRow &row = GetParam();
    const DeviceControl::Handle handle = plugAndOpen();
    ASSERT_NE(handle, DeviceControl::InvalidHandle);
    Platform::SimMachine machine;
    Platform::SimDeviceControl simulated(machine);
    machine.attach(controller(3, 1));
    const DeviceControl::Handle simHandle = simulated.open(simulated.presentInterfaces().at(0).path);

    const Reply real = property(*control, handle, row.id, row.flags, row.instance, row.valueSize);
    const Reply sim = property(simulated, simHandle, row.id, row.flags, row.instance, row.valueSize);
    EXPECT_EQ(real.result.status, row.status);
    EXPECT_EQ(sim.result.status, row.status);
    EXPECT_EQ(real.result.returned, sim.result.returned);
    EXPECT_EQ(real.value, sim.value);
}

INSTANTIATE_TEST_SUITE_P(Rows, PropertyTable, testing::ValuesIn(table), [](const auto &info) {
    std::string name = info.param.name;
    for (char &c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST_F(LibusbControl, RequestsToAnInterfaceNeverReachTheDevice)
{
    const DeviceControl::Handle handle = plugAndOpen();
    const int before = bus.controlTransfers();
    for (std::uint8_t function : {Zel::FunctionVendorInterface, Zel::FunctionClassEndpoint}) {
        const Reply reply = property(*control, handle, 7, Zel::PropertyGet, controlInstance(function, 1, 0), 4);
        EXPECT_EQ(reply.result.status, Zel::STATUS_NOT_SUPPORTED);
    }
    EXPECT_EQ(bus.controlTransfers(), before);
}

TEST_F(LibusbControl, AControllerUnpluggedBetweenTwoRequestsIsNotConnected)
{
    const auto usb = controller(3, 1);
    const DeviceControl::Handle handle = plugAndOpen(usb);
    EXPECT_TRUE(property(*control, handle, 7, Zel::PropertyGet, vendorInstance(1), 8).result.ok);
    usb->disconnect();
    EXPECT_EQ(property(*control, handle, 7, Zel::PropertyGet, vendorInstance(1), 8).result.status,
              Zel::STATUS_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(property(*control, handle, 0, Zel::PropertyGet, {}, 18).result.status, Zel::STATUS_DEVICE_NOT_CONNECTED);
}

TEST_F(LibusbControl, LockIsRefusedWhileAPortIsOpenAndKeepsTheAlsaPortsClosedWhileHeld)
{
    const DeviceControl::Handle handle = plugAndOpen(controller(3, 1), 2);
    bus.setPortOpen(2, true);
    const DeviceControl::Handle other = control->open(L"1-1");
    EXPECT_EQ(property(*control, handle, Zel::PropertyLock, Zel::PropertySet).result.status, Zel::STATUS_ACCESS_DENIED);
    EXPECT_FALSE(lock().cardLocked(2));

    bus.setPortOpen(2, false);
    EXPECT_TRUE(property(*control, handle, Zel::PropertyLock, Zel::PropertySet).result.ok);
    EXPECT_TRUE(lock().cardLocked(2));
    EXPECT_FALSE(lock().cardLocked(3));
    EXPECT_EQ(property(*control, other, Zel::PropertyLock, Zel::PropertySet).result.status, Zel::STATUS_ACCESS_DENIED);
    EXPECT_TRUE(property(*control, handle, Zel::PropertyUnlock, Zel::PropertySet).result.ok);
    EXPECT_FALSE(lock().cardLocked(2));

    EXPECT_TRUE(property(*control, other, Zel::PropertyLock, Zel::PropertySet).result.ok);
    control->close(other);
    EXPECT_FALSE(lock().cardLocked(2));
    EXPECT_EQ(property(*control, other, 0, Zel::PropertyGet, {}, 18).result.status, Zel::STATUS_INVALID_PARAMETER);
}

TEST_F(LibusbControl, TheServiceIsTheModuleOfTheMidiInterfaceAtTheKernelsRelease)
{
    bus.plug(controller(3, 1), 1, 2);
    bus.plug(controller(3, 2), 2);
    fs::create_directories(fs::path(bus.root()) / "proc/sys/kernel");
    std::ofstream(fs::path(bus.root()) / "proc/sys/kernel/osrelease") << "6.1.0-18-amd64\n";
    const auto interfaces = start().presentInterfaces();
    ASSERT_EQ(interfaces.size(), 2u);
    const std::wstring service = control->serviceName(interfaces[0].instanceId);
    EXPECT_EQ(service, L"snd-usb-audio");
    const DeviceControl::FileVersion version = control->fileVersion(control->serviceBinaryPath(service));
    EXPECT_EQ(std::vector<int>(version.part, version.part + 4), (std::vector<int>{6, 1, 0, 18}));
    EXPECT_EQ(control->serviceName(interfaces[1].instanceId), L"");
}

} // namespace

#include "platform/devicecontrol/DeviceControl.h"

#include <gtest/gtest.h>

#include <cstdint>

using Platform::DeviceControl;

namespace {

// The system's device control on a machine where no controller's driver is
// installed: nothing to find, and every request on nothing fails cleanly.
TEST(Win32DeviceControl, WithoutTheDriverItFindsNoInterfaceAndFailsCleanly)
{
    const std::unique_ptr<DeviceControl> control = Platform::createSystemDeviceControl();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->presentInterfaces().empty());

    const DeviceControl::Handle handle = control->open(L"\\\\?\\vorpad#control#that#is#not#there");
    EXPECT_EQ(handle, DeviceControl::InvalidHandle);
    std::uint8_t request[24] = {};
    std::uint8_t reply[18] = {};
    const DeviceControl::Result result = control->propertyRequest(handle, request, sizeof request, reply, sizeof reply);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.returned, 0u);
    control->close(handle);

    EXPECT_TRUE(control->serviceName(L"USB\\VID_0000&PID_0000\\0").empty());
    EXPECT_TRUE(control->serviceBinaryPath(L"vorpad-service-that-is-not-there").empty());
    const DeviceControl::FileVersion version = control->fileVersion(L"C:\\vorpad\\not-there.sys");
    for (std::uint16_t part : version.part)
        EXPECT_EQ(part, 0u);
}

} // namespace

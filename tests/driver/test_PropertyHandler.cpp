#include "driver/PropertyHandler.h"
#include "tests/driver/AdapterFixture.h"

#include <gtest/gtest.h>

using namespace ZelTest;

namespace {

struct PropertyCase {
    const char *name;
    std::uint32_t id;
    std::uint32_t flags;
    std::vector<std::uint8_t> instance;
    std::uint32_t valueSize;
    Zel::NTSTATUS status;
    std::uint32_t reported;
    const char *value; // leading bytes of the value on success; nullptr: not checked
};

std::ostream &operator<<(std::ostream &out, const PropertyCase &c) { return out << c.name; }

std::vector<std::uint8_t> u32s(std::initializer_list<std::uint32_t> values)
{
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : values) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    return out;
}

std::vector<std::uint8_t> controlHeader(std::uint8_t request, std::uint32_t length = 0, std::uint32_t size = 20)
{
    std::vector<std::uint8_t> out(size, 0);
    out[0] = 0x20;
    out[1] = request;
    out[2] = 0x34;
    out[3] = 0x12;
    for (int i = 0; i < 4; ++i)
        out[12 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    for (std::uint32_t i = 16; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(i);
    return out;
}

constexpr std::uint32_t Any = 0xFFFFFFFF;
constexpr Zel::NTSTATUS Ok = Zel::STATUS_SUCCESS;
constexpr Zel::NTSTATUS Small = Zel::STATUS_BUFFER_TOO_SMALL;
constexpr Zel::NTSTATUS Invalid = Zel::STATUS_INVALID_PARAMETER;
constexpr Zel::NTSTATUS Failed = Zel::STATUS_UNSUCCESSFUL;

class Property : public testing::TestWithParam<PropertyCase>, public AdapterFixture
{
protected:
    void SetUp() override
    {
        fake.vendorReply.assign(32, 0);
        fake.vendorReply[6] = 0x00;
        fake.vendorReply[7] = 0x01;
        ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    }
};

} // namespace

TEST_P(Property, AnswersWithStatusAndReportedSize)
{
    const PropertyCase &c = GetParam();
    std::vector<std::uint8_t> value(c.valueSize + 8, 0xEE);
    Zel::PropertyRequest request;
    request.id = c.id;
    request.flags = c.flags;
    request.instance = c.instance.data();
    request.instanceSize = static_cast<std::uint32_t>(c.instance.size());
    request.value = value.data();
    request.valueSize = c.valueSize;
    std::uint32_t reported = 12345;
    EXPECT_EQ(Zel::handleProperty(*adapter, request, reported), c.status);
    EXPECT_EQ(reported, c.reported);
    if (c.value) {
        const Bytes expected = hex(c.value);
        EXPECT_EQ(text(Bytes(value.begin(), value.begin() + expected.size())), c.value);
    }
    EXPECT_EQ(value[c.valueSize], 0xEE) << "wrote past the value buffer";
}

INSTANTIATE_TEST_SUITE_P(
    DeviceControl, Property,
    testing::Values(
        PropertyCase{"device", 0, 1, {}, 18, Ok, 18, "12 01 10 01 00 00 00 08 1E 04 01 3F 00 01 01 02 03 01"},
        PropertyCase{"deviceShort", 0, 1, {}, 17, Small, 18, nullptr},
        PropertyCase{"configuration", 1, 1, {}, 9, Ok, 9, "09 02 75 00 02 01 00 80 32"},
        PropertyCase{"configurationShort", 1, 1, {}, 8, Small, 9, nullptr},
        PropertyCase{"interfaceByClass", 2, 1, u32s({Any, 0, 1, 3, Any}), 9, Ok, 9, "09 04 01 00 02 01 03"},
        PropertyCase{"interfaceAny", 2, 1, u32s({Any, Any, Any, Any, Any}), 9, Ok, 9, "09 04 00 00 00 01 01"},
        PropertyCase{"interfaceNoMatch", 2, 1, u32s({1, 1, Any, Any, Any}), 9, Failed, 9, nullptr},
        PropertyCase{"interfaceNumberTooHigh", 2, 1, u32s({3, 0, Any, Any, Any}), 9, Invalid, 9, nullptr},
        PropertyCase{"interfaceShortInstance", 2, 1, std::vector<std::uint8_t>(19, 0xFF), 9, Invalid, 9, nullptr},
        PropertyCase{"interfaceShortValue", 2, 1, u32s({Any, Any, Any, Any, Any}), 8, Small, 9, nullptr},
        PropertyCase{"endpointOut", 3, 1, {1, 0, 0}, 7, Ok, 7, "09 05 01 02 40 00 00"},
        PropertyCase{"endpointIn", 3, 1, {1, 0, 1}, 7, Ok, 7, "09 05 81 02 40 00 00"},
        PropertyCase{"endpointIndexBeyondCount", 3, 1, {1, 0, 2}, 7, Failed, 7, nullptr},
        PropertyCase{"endpointOtherInterface", 3, 1, {0, 0, 0}, 7, Failed, 7, nullptr},
        PropertyCase{"endpointShortInstance", 3, 1, {1, 0}, 7, Invalid, 7, nullptr},
        PropertyCase{"endpointShortValue", 3, 1, {1, 0, 0}, 6, Small, 7, nullptr},
        PropertyCase{"stringProduct", 4, 1, {2, 0, 0x09, 0x04}, 130, Ok, 20, "14 03 56 00 6F 00 72 00"},
        PropertyCase{"stringCut", 4, 1, {2, 0, 0x09, 0x04}, 6, Ok, 6, "06 03 56 00 6F 00"},
        PropertyCase{"stringLanguages", 4, 1, {0, 0, 0, 0}, 254, Ok, 6, "06 03 09 04 07 04"},
        PropertyCase{"stringGerman", 4, 1, {4, 0, 0x07, 0x04}, 254, Ok, 26, "1A 03 4D 00 49 00"},
        PropertyCase{"stringOtherLanguage", 4, 1, {2, 0, 0x11, 0x04}, 254, Zel::STATUS_NOT_SUPPORTED, 0, "02 03"},
        PropertyCase{"stringShortInstance", 4, 1, {2, 0, 9}, 254, Invalid, 0, nullptr},
        PropertyCase{"stringShortValue", 4, 1, {2, 0, 9, 4}, 3, Invalid, 0, nullptr},
        PropertyCase{"classInterfaceWhole", 5, 1, {1, 0, 0x24}, 200, Ok, 81, "07 24 01 00 01 51 00 06 24 02"},
        PropertyCase{"classInterfaceHeaderOnly", 5, 1, {1, 0, 0x24}, 80, Ok, 7, "07 24 01 00 01 51 00"},
        PropertyCase{"classInterfaceTooSmall", 5, 1, {1, 0, 0x24}, 6, Small, 81, nullptr},
        PropertyCase{"classInterfaceAudioControl", 5, 1, {0, 0, 0x24}, 200, Ok, 9, "09 24 01 00 01 09 00 01 01"},
        PropertyCase{"classInterfaceTypeMismatch", 5, 1, {1, 0, 0x25}, 200, Failed, 0, nullptr},
        PropertyCase{"classInterfaceNumberTooHigh", 5, 1, {3, 0, 0x24}, 200, Invalid, 0, nullptr},
        PropertyCase{"classInterfaceShortInstance", 5, 1, {1, 0}, 200, Invalid, 0, nullptr},
        PropertyCase{"classEndpointOut", 6, 1, {1, 0, 0x01, 0x25}, 16, Ok, 6, "06 25 01 02 01 05"},
        PropertyCase{"classEndpointIn", 6, 1, {1, 0, 0x81, 0x25}, 16, Ok, 5, "05 25 01 01 03"},
        PropertyCase{"classEndpointTooSmall", 6, 1, {1, 0, 0x01, 0x25}, 5, Small, 6, nullptr},
        PropertyCase{"classEndpointTypeMismatch", 6, 1, {1, 0, 0x01, 0x24}, 16, Failed, 0, nullptr},
        PropertyCase{"classEndpointMissing", 6, 1, {1, 0, 0x02, 0x25}, 16, Failed, 0, nullptr},
        PropertyCase{"classEndpointShortInstance", 6, 1, {1, 0, 1}, 16, Invalid, 0, nullptr},
        PropertyCase{"controlGet", 7, 1, controlHeader(1), 32, Ok, 32, "00 00 00 00 00 00 00 01"},
        PropertyCase{"controlGetShortInstance", 7, 1, controlHeader(1, 0, 19), 32, Invalid, 0, nullptr},
        PropertyCase{"controlSetNoData", 7, 2, controlHeader(5), 0, Ok, 0, nullptr},
        PropertyCase{"controlSetData", 7, 2, controlHeader(5, 4), 0, Ok, 0, nullptr},
        PropertyCase{"controlSetDataBeyondInstance", 7, 2, controlHeader(5, 5), 0, Invalid, 0, nullptr},
        PropertyCase{"controlSetShortInstance", 7, 2, controlHeader(5, 0, 19), 0, Invalid, 0, nullptr},
        PropertyCase{"unlock", 0x21, 2, {}, 0, Ok, 0, nullptr},
        PropertyCase{"getOfSetOnlyId", 0x20, 1, {}, 0, Invalid, 0, nullptr},
        PropertyCase{"setOfGetOnlyId", 0, 2, {}, 18, Invalid, 0, nullptr},
        PropertyCase{"unknownId", 8, 1, {}, 18, Invalid, 0, nullptr},
        PropertyCase{"neitherGetNorSet", 0, 3, {}, 18, Invalid, 0, nullptr}),
    [](const auto &info) { return std::string(info.param.name); });

namespace {

class PropertyRequests : public testing::Test, public AdapterFixture
{
protected:
    void SetUp() override { ASSERT_EQ(start(), Zel::STATUS_SUCCESS); }
    Zel::NTSTATUS ks(std::uint32_t id, std::uint32_t flags, const std::vector<std::uint8_t> &instance,
                     std::vector<std::uint8_t> &value, std::uint32_t &returned, bool otherSet = false)
    {
        std::vector<std::uint8_t> input(Zel::PropertyHeaderSize);
        Zel::writePropertyHeader(input.data(), id, flags);
        if (otherSet)
            input[3] ^= 0xFF;
        input.insert(input.end(), instance.begin(), instance.end());
        return Zel::handleKsProperty(*adapter, input.data(), static_cast<std::uint32_t>(input.size()),
                                     value.empty() ? nullptr : value.data(), static_cast<std::uint32_t>(value.size()),
                                     returned);
    }
};

} // namespace

TEST_F(PropertyRequests, SetSupportProbeOnlyForThisSet)
{
    std::vector<std::uint8_t> none;
    std::uint32_t returned = 9;
    EXPECT_EQ(ks(0, Zel::PropertySetSupport, {}, none, returned), Zel::STATUS_SUCCESS);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(ks(0, Zel::PropertySetSupport, {}, none, returned, true), Zel::STATUS_NOT_FOUND);
    std::uint8_t shortInput[8] = {};
    EXPECT_EQ(Zel::handleKsProperty(*adapter, shortInput, sizeof shortInput, nullptr, 0, returned),
              Zel::STATUS_BUFFER_TOO_SMALL);
}

TEST_F(PropertyRequests, VendorRequestsReachTheDeviceAsSent)
{
    std::vector<std::uint8_t> value(8);
    std::uint32_t returned = 0;
    fake.vendorReply = {0, 0, 0, 0, 64, 0, 0, 0};
    std::vector<std::uint8_t> instance = controlHeader(4);
    EXPECT_EQ(ks(7, Zel::PropertyGet, instance, value, returned), Zel::STATUS_SUCCESS);
    EXPECT_EQ(returned, 8u);
    EXPECT_EQ(value[4], 64);
    std::vector<std::uint8_t> none;
    instance = controlHeader(5, 3, 23);
    EXPECT_EQ(ks(7, Zel::PropertySet, instance, none, returned), Zel::STATUS_SUCCESS);
    ASSERT_EQ(fake.requests.size(), 2u);
    EXPECT_EQ(fake.requests[0].function, 0x20);
    EXPECT_EQ(fake.requests[0].request, 4);
    EXPECT_EQ(fake.requests[0].value, 0x1234);
    EXPECT_TRUE(fake.requests[0].directionIn);
    EXPECT_FALSE(fake.requests[1].directionIn);
    EXPECT_EQ(fake.requestData[1], (std::vector<std::uint8_t>{16, 17, 18}));
}

TEST_F(PropertyRequests, ControlRequestAtDispatchLevelDenied)
{
    std::vector<std::uint8_t> instance = controlHeader(1);
    std::uint8_t value[32];
    Zel::PropertyRequest request;
    request.id = Zel::PropertyControlRequest;
    request.flags = Zel::PropertyGet;
    request.instance = instance.data();
    request.instanceSize = 20;
    request.value = value;
    request.valueSize = 32;
    request.atDispatchLevel = true;
    std::uint32_t reported = 0;
    EXPECT_EQ(Zel::handleProperty(*adapter, request, reported), Zel::STATUS_ACCESS_DENIED);
    EXPECT_TRUE(fake.requests.empty());
}

TEST_F(PropertyRequests, FailedDeviceRequestPassesItsStatus)
{
    fake.vendorStatus = Zel::STATUS_UNSUCCESSFUL;
    std::vector<std::uint8_t> value(4);
    std::uint32_t returned = 0;
    EXPECT_EQ(ks(7, Zel::PropertyGet, controlHeader(0), value, returned), Zel::STATUS_UNSUCCESSFUL);
    EXPECT_EQ(returned, 0u);
}

TEST_F(PropertyRequests, LockThroughThePropertySet)
{
    std::vector<std::uint8_t> none;
    std::uint32_t returned = 0;
    Zel::MidiStream *stream = nullptr;
    ASSERT_EQ(adapter->openStream(*subdevice("OUT00"), false, nullptr, nullptr, stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(ks(0x20, Zel::PropertySet, {}, none, returned), Zel::STATUS_ACCESS_DENIED);
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(ks(0x20, Zel::PropertySet, {}, none, returned), Zel::STATUS_SUCCESS);
    EXPECT_TRUE(adapter->locked());
    EXPECT_EQ(ks(0x21, Zel::PropertySet, {}, none, returned), Zel::STATUS_SUCCESS);
    EXPECT_FALSE(adapter->locked());
}

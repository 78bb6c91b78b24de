#include "platform/MidiSelection.h"
#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimulatedPlatform.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct SelectionCase {
    const char *name;
    std::vector<const char *> arguments;
    const char *environment;
    std::optional<int> keys;
};

class Selection : public ::testing::TestWithParam<SelectionCase>
{
};

TEST_P(Selection, SimulatedKeysFromCommandLineOrEnvironment)
{
    std::vector<const char *> argv = {"program"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    EXPECT_EQ(Platform::simulatedKeys(int(argv.size()), argv.data(), GetParam().environment), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(Cases, Selection,
                         ::testing::Values(SelectionCase{"Nothing", {}, nullptr, std::nullopt},
                                           SelectionCase{"PlainOption", {"--simulate"}, nullptr, 49},
                                           SelectionCase{"Size25", {"file.vpb", "--simulate=25"}, nullptr, 25},
                                           SelectionCase{"Size61", {"--simulate=61"}, nullptr, 61},
                                           SelectionCase{"UnknownSize", {"--simulate=88"}, nullptr, std::nullopt},
                                           SelectionCase{"Environment", {}, "25", 25},
                                           SelectionCase{"EmptyEnvironment", {}, "", std::nullopt},
                                           SelectionCase{"CommandLineWins", {"--simulate=61"}, "25", 61},
                                           SelectionCase{"OtherOption", {"--simulated"}, nullptr, std::nullopt}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Selection, SimulationServesMidiAndDeviceControlFromOneMachine)
{
    QTemporaryDir data; // the simulated controller keeps its state there
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const char *argv[] = {"program", "--simulate=61"};
    Platform::selectPlatform(2, argv);
    Platform::SimulatedPlatform *simulated = Platform::simulatedPlatform();
    ASSERT_NE(simulated, nullptr);
    EXPECT_EQ(&Platform::midi(), &simulated->midi());
    EXPECT_EQ(Platform::deviceControl(), &simulated->deviceControl());
    std::string name;
    EXPECT_EQ(Platform::midi().midiOutGetDevCaps(0, name), Platform::MMSYSERR_NOERROR);
    EXPECT_EQ(name, "Vorpad 61");
    ASSERT_EQ(Platform::deviceControl()->presentInterfaces().size(), 1u);
    EXPECT_EQ(Platform::deviceControl()->presentInterfaces()[0].path, simulated->machine().controlInterfaces()[0].path);

    Platform::SimDeviceControl installed(simulated->machine());
    Platform::installDeviceControl(&installed);
    EXPECT_EQ(Platform::deviceControl(), &installed);
    Platform::installDeviceControl(nullptr);
    EXPECT_EQ(Platform::deviceControl(), &simulated->deviceControl());

    Platform::selectPlatform(1, argv); // the real platform again
    EXPECT_EQ(Platform::simulatedPlatform(), nullptr);
    EXPECT_NE(Platform::deviceControl(), &installed);
    qunsetenv("XDG_DATA_HOME");
}

} // namespace

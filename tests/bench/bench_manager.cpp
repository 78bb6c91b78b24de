#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimMidi.h"
#include "platform/sim/SimulatedPlatform.h"
#include "simulator/Controller.h"
#include "tests/support/SimMidiControllerEndpoint.h"

#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The whole bank (35 exchanges) from the controller behind `midi`, through
// the MIDI ports, the send algorithm and the model's setters.
void downloadAll(benchmark::State &state, Platform::MidiApi &midi)
{
    Platform::ScopedMidi scoped(midi);
    Brisel::RemoteControlManager manager;
    const std::vector<Brisel::DeviceRecord> found = Brisel::DeviceList::scan();
    if (found.empty() || !manager.selectDevice(found[0])) {
        state.SkipWithError("no simulated controller");
        return;
    }
    for (auto _ : state) {
        if (!manager.downloadAll()) {
            state.SkipWithError("incomplete download");
            break;
        }
    }
}

// Ports connected straight to the controller's firmware.
void BM_DownloadAll(benchmark::State &state)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsDir.path());
    auto controller = std::make_shared<Sim::Controller>(49);
    Platform::SimMidi midi({std::make_shared<Platform::SimMidiControllerEndpoint>(controller)});
    downloadAll(state, midi);
}
BENCHMARK(BM_DownloadAll)->Unit(benchmark::kMillisecond);

// The simulated session's path: the driver's render and capture streams,
// USB-MIDI packets on the simulated bus, the controller's USB-MIDI function.
void BM_DownloadAllThroughDriver(benchmark::State &state)
{
    QTemporaryDir settingsDir;
    QTemporaryDir dataDir; // the controller's state file
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsDir.path());
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    {
        Platform::SimulatedPlatform platform(49);
        downloadAll(state, platform.midi());
    }
    qunsetenv("XDG_DATA_HOME");
}
BENCHMARK(BM_DownloadAllThroughDriver)->Unit(benchmark::kMillisecond);

} // namespace

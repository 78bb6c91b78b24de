#include "Controller.h"
#include "DeviceList.h"
#include "MidiSelection.h"
#include "RemoteControlManager.h"
#include "SimMidi.h"
#include "SimMidiControllerEndpoint.h"

#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The whole bank (35 exchanges) from a simulated controller, through the
// MIDI ports, the send algorithm and the model's setters.
void BM_DownloadAll(benchmark::State &state)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsDir.path());
    auto controller = std::make_shared<Sim::Controller>(49);
    Platform::SimMidi midi({std::make_shared<Platform::SimMidiControllerEndpoint>(controller)});
    Platform::ScopedMidi scoped(midi);
    {
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
}
BENCHMARK(BM_DownloadAll)->Unit(benchmark::kMillisecond);

} // namespace

// Exchanges with the simulated controller over the simulated MIDI ports, with
// the real threads: one patch request answered by its transfer, and a full
// scan of one controller.
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/model/CBPatch.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimMidi.h"
#include "simulator/Controller.h"
#include "tests/support/SimMidiControllerEndpoint.h"

#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class Patch : public Brisel::PatchTarget
{
public:
    int number() const override { return 5; }
    bool setPatchImage(const std::vector<Byte> &image) override
    {
        received = image.size() == std::size_t(PatchImageSize);
        return received;
    }
    bool setZonesImage(const std::vector<Byte> &) override { return false; }
    bool received = false;
};

struct World {
    World()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settings.path());
        auto controller = std::make_shared<Sim::Controller>(49);
        midi = std::make_unique<Platform::SimMidi>(std::vector<std::shared_ptr<Platform::SimMidiEndpoint>>{
            std::make_shared<Platform::SimMidiControllerEndpoint>(controller)});
        Platform::installMidi(midi.get());
    }
    ~World() { Platform::installMidi(nullptr); }
    QTemporaryDir settings;
    std::unique_ptr<Platform::SimMidi> midi;
};

void BM_PatchRequestExchange(benchmark::State &state)
{
    World world;
    Brisel::DeviceConnection connection;
    const std::vector<Brisel::DeviceRecord> found = Brisel::DeviceList::scan();
    if (found.size() != 1 || !connection.open(found[0])) {
        state.SkipWithError("no simulated controller");
        return;
    }
    for (auto _ : state) {
        Patch patch;
        connection.requestPatch(patch);
        if (!patch.received) {
            state.SkipWithError("no answer");
            break;
        }
    }
}
BENCHMARK(BM_PatchRequestExchange)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ScanOneController(benchmark::State &state)
{
    World world;
    for (auto _ : state) {
        if (Brisel::DeviceList::scan().size() != 1) {
            state.SkipWithError("controller not found");
            break;
        }
    }
}
BENCHMARK(BM_ScanOneController)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

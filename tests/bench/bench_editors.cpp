// The editor tabs: from a knob let go to the controller's acknowledgement of
// the one patch transfer, through the driver core on the simulated bus; and
// building the patch and zones editor views.
#include "editor/app/editors/EditorSkin.h"
#include "editor/app/editors/EditorWidgets.h"
#include "editor/app/editors/PatchEditorView.h"
#include "editor/app/editors/ZonesEditorView.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimulatedPlatform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QApplication &application()
{
    static int argc = 1;
    static char name[] = "bench_editors";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Each iteration drags knob 3 to the other end of its travel and lets go; the
// release sends the patch and waits for the answer before returning.
void BM_KnobReleaseToAcknowledgement(benchmark::State &state)
{
    application();
    QTemporaryDir settingsDir;
    QTemporaryDir dataDir; // the controller's state file
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsDir.path());
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    {
        Platform::SimulatedPlatform platform(49);
        Platform::ScopedMidi scoped(platform.midi());
        Brisel::RemoteControlManager manager;
        const std::vector<Brisel::DeviceRecord> found = Brisel::DeviceList::scan();
        if (found.empty() || !manager.selectDevice(found[0])) {
            state.SkipWithError("no simulated controller");
            return;
        }
        manager.activePatch().settings().control(2)->mode.setValue(ModeCC);
        PatchEditorView view(manager);
        auto *knob = view.findChild<Knob *>(QStringLiteral("CONTROLS_3/KNOBCONTROL_KNOB"));
        const QPoint ends[] = {QPoint(1, knob->height() - 2), QPoint(knob->width() - 1, knob->height() - 2)};
        int end = 0;
        for (auto _ : state) {
            state.PauseTiming();
            end = 1 - end;
            mouse(knob, QEvent::MouseButtonPress, QPoint(knob->width() / 2, 1), Qt::LeftButton);
            mouse(knob, QEvent::MouseMove, ends[end], Qt::LeftButton);
            state.ResumeTiming();
            mouse(knob, QEvent::MouseButtonRelease, ends[end], Qt::NoButton);
        }
    }
    qunsetenv("XDG_DATA_HOME");
}
BENCHMARK(BM_KnobReleaseToAcknowledgement)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime() // the simulated bus runs on a thread of its own
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// All sections and every handler's first update; the skin is loaded once
// before, as the main window's first widget does.
template <typename View>
void buildView(benchmark::State &state)
{
    application();
    EditorSkin::instance();
    Brisel::RemoteControlManager manager;
    for (auto _ : state) {
        View view(manager);
        benchmark::DoNotOptimize(view.sizeHint());
    }
}

void BM_BuildPatchEditorView(benchmark::State &state) { buildView<PatchEditorView>(state); }
BENCHMARK(BM_BuildPatchEditorView)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_BuildZonesEditorView(benchmark::State &state) { buildView<ZonesEditorView>(state); }
BENCHMARK(BM_BuildZonesEditorView)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

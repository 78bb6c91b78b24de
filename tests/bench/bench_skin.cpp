// Skin engine start-up (the five loads and the 23 descriptions) and painting
// one knob frame from the film strip.
#include "editor/skin/CZelEditorSkin.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication &application()
{
    static int argc = 1;
    static char name[] = "bench_skin";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Cold start: the pixmap cache is emptied so every bitmap the natural sizes
// need is decoded again.
void BM_EngineStartUp(benchmark::State &state)
{
    application();
    for (auto _ : state) {
        QPixmapCache::clear();
        CZelSkinEngine engine;
        CZelRenderStyle style(&engine);
        benchmark::DoNotOptimize(CZelEditorSkin::load(engine));
    }
}
BENCHMARK(BM_EngineStartUp)->Unit(benchmark::kMillisecond);

void BM_PaintKnobFrame(benchmark::State &state)
{
    application();
    CZelSkinEngine engine;
    CZelRenderStyle style(&engine);
    CZelEditorSkin::load(engine);
    const CZelRenderDescription *knob = engine.renderDescription(QStringLiteral("dial_track"));
    QImage canvas(26, 26, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    float position = 0.0f;
    for (auto _ : state) {
        style.paint(&painter, knob, canvas.rect(), position, true, false, false, false, false);
        position = position >= 1.0f ? 0.0f : position + 1.0f / 64;
    }
}
BENCHMARK(BM_PaintKnobFrame)->Unit(benchmark::kMicrosecond);

} // namespace

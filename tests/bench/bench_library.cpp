#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/library/LibraryImport.h"
#include "editor/library/PatchLibrary.h"
#include "tests/library/LibraryTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Distinct valid patches: the default under a numbered name, octave varied.
PatchImages generatedPatch(int i)
{
    Capture capture = LibraryTestSupport::namedCapture("Gen " + std::to_string(i) + (i % 7 == 0 ? " Pad" : " Lead"));
    capture.patches[0].patch[22] = Byte(i % 8);
    return capture.patches[0];
}

// Importing a folder of 10,000 patch files into a new library.
void BM_ImportTenThousandFiles(benchmark::State &state)
{
    QTemporaryDir dir;
    const int files = int(state.range(0));
    for (int i = 0; i < files; ++i) {
        const QString sub = dir.filePath("in/" + QString::number(i / 1000));
        QDir().mkpath(sub);
        const PatchImages images = generatedPatch(i);
        SysExFile::writeAll(sub + QString("/p%1.vpp").arg(i), PatchFile::toBytes(images.patch, images.zones));
    }
    int run = 0;
    for (auto _ : state) {
        PatchLibrary library(dir.filePath(QString("library-%1.sqlite").arg(run++)));
        const LibraryImport::Summary summary = LibraryImport::importFolder(library, dir.filePath("in"));
        if (summary.imported != files)
            state.SkipWithError("not every file was imported");
    }
    state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_ImportTenThousandFiles)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A library of 100,000 patch entries, made once; a tenth carry a tag.
PatchLibrary &bigLibrary()
{
    static QTemporaryDir dir;
    // Never destroyed: Qt SQL's connection registry, a static too, may go first at exit.
    static PatchLibrary &library = *new PatchLibrary(dir.filePath("library.sqlite"));
    static const bool filled = [] {
        constexpr int Entries = 100000, Batch = 5000;
        for (int start = 0; start < Entries; start += Batch) {
            std::vector<Capture> batch;
            for (int i = start; i < start + Batch; ++i) {
                Capture capture;
                capture.patches.push_back(generatedPatch(i));
                batch.push_back(std::move(capture));
            }
            const std::vector<qint64> ids = library.add(batch).value();
            for (std::size_t k = 0; k < ids.size(); k += 10)
                library.addTags(ids[k], {"live"});
        }
        return true;
    }();
    (void)filled;
    return library;
}

// A search as the pane runs it: the query and the first 100 rows.
void BM_SearchHundredThousand(benchmark::State &state)
{
    PatchLibrary &library = bigLibrary();
    static const LibraryQuery queries[] = {
        {.text = "pad"},           // a seventh match
        {.text = "Gen 4242"},      // eleven match, spread over the file
        {.text = "nothing"},       // none match
        {.text = "Gen 4242 Lead"}, // one matches
        {.text = "Zq"},            // too short for the index, none match: every entry is read
        {.tag = "live"},
        {},
    };
    const LibraryQuery &query = queries[state.range(0)];
    for (auto _ : state) {
        std::vector<LibraryEntry> rows = library.find(query);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SearchHundredThousand)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

} // namespace

#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"

#include <benchmark/benchmark.h>

#include <array>

// One patch transfer as the editor handles it: build, parse a private copy
// (which validates the image in place), extract.
static void BM_PatchTransferBuildParseExtract(benchmark::State &state)
{
    CBPatch &patch = CBPatch::instance();
    CBSysExPatch &sysEx = patch.sysEx();
    PatchImage image{};
    patch.initPatch(image.data());
    std::array<Byte, CBSysExPatch::MaxMessageLength> message{};
    PatchImage out{};

    for (auto _ : state) {
        SysExContext build;
        build.message = message.data();
        build.image = image.data();
        build.deviceId = 0x10;
        build.patchNumber = 5;
        sysEx.buildPatchTransfer(build);

        SysExContext parse;
        parse.message = message.data();
        parse.length = build.length;
        parse.deviceId = 0x10;
        sysEx.parse(parse);
        parse.image = out.data();
        benchmark::DoNotOptimize(sysEx.extractPatchImage(parse));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PatchTransferBuildParseExtract);

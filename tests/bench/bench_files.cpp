#include "editor/app/files/BankFile.h"
#include "editor/core/model/CBPatch.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <vector>

namespace {

QByteArray defaultBankBytes()
{
    CBPatch &model = CBPatch::instance();
    std::vector<Byte> settings(sizeof(BankSettingsRecord)), patch(PatchImageSize), zones(ZonesImageSize);
    model.initBankSettings(settings.data());
    settings.resize(BankSettingsSize);
    model.initPatch(patch.data());
    model.initZones(zones.data());
    return BankFile::toBytes(settings, std::vector<std::vector<Byte>>(StoredPatchCount, patch),
                             std::vector<std::vector<Byte>>(StoredPatchCount, zones));
}

// Splitting, parsing and validating the 33 messages of a written bank file.
void BM_BankFileFromBytes(benchmark::State &state)
{
    const QByteArray bytes = defaultBankBytes();
    const std::span<const Byte> span(reinterpret_cast<const Byte *>(bytes.constData()), std::size_t(bytes.size()));
    for (auto _ : state) {
        BankFile file = BankFile::fromBytes(span);
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_BankFileFromBytes);

// The same from a file on disk, as loading a bank does.
void BM_BankFileRead(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bank.vpb");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(defaultBankBytes()) != 6969) {
        state.SkipWithError("cannot write the bank file");
        return;
    }
    file.close();
    for (auto _ : state) {
        BankFile bank = BankFile::read(path);
        benchmark::DoNotOptimize(bank);
    }
}
BENCHMARK(BM_BankFileRead);

// A crafted 100 MB bank file of F0 F7 pairs, as a hostile program would
// leave it: refused before it is read. The counter is the process's peak
// resident memory, which reading and splitting it whole took to gigabytes.
void BM_HugeBankFileRefused(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.vpb");
    QFile file(path);
    const QByteArray pairs = QByteArray("\xF0\xF7").repeated(1 << 19);
    bool written = file.open(QIODevice::WriteOnly);
    for (int i = 0; written && i < 100; ++i)
        written = file.write(pairs) == pairs.size();
    file.close();
    if (!written) {
        state.SkipWithError("cannot write the huge file");
        return;
    }
    for (auto _ : state) {
        BankFile bank = BankFile::read(path);
        benchmark::DoNotOptimize(bank);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRssMiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_HugeBankFileRefused)->Unit(benchmark::kMicrosecond);

} // namespace

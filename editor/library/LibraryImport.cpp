#include "editor/library/LibraryImport.h"

#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/library/PatchLibrary.h"

#include <QDirIterator>
#include <QFileInfo>

namespace LibraryImport {

namespace {

constexpr int BatchSize = 500;

std::optional<Capture> fromBank(const BankFile &file)
{
    if (!file.valid)
        return std::nullopt;
    Capture capture;
    capture.settings = file.settings;
    for (std::size_t p = 0; p < file.patchImages.size(); ++p)
        capture.patches.push_back(
            {file.patchImages[p], file.zonesImages.empty() ? std::vector<Byte>{} : file.zonesImages[p]});
    return capture;
}

std::optional<Capture> fromPatch(const PatchFile &file)
{
    if (!file.valid)
        return std::nullopt;
    Capture capture;
    capture.patches.push_back({file.patchImage, file.zonesImage});
    return capture;
}

} // namespace

std::optional<Capture> captureOf(std::span<const Byte> bytes, const QString &suffix)
{
    if (suffix == "vpp")
        return fromPatch(PatchFile::fromBytes(bytes));
    if (suffix == "vpb")
        return fromBank(BankFile::fromBytes(bytes));
    if (suffix == "syx") {
        if (std::optional<Capture> bank = fromBank(BankFile::fromBytes(bytes)))
            return bank;
        return fromPatch(PatchFile::fromBytes(bytes));
    }
    return std::nullopt;
}

bool isImportable(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix == "vpp" || suffix == "vpb" || suffix == "syx";
}

Summary importFolder(PatchLibrary &library, const QString &folder, const std::function<void(int, int)> &progress)
{
    QStringList paths;
    QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isImportable(path))
            paths << path;
    }
    paths.sort(); // the same folder imports in the same order

    Summary summary;
    std::vector<Capture> batch;
    auto flush = [&](int done) {
        const std::optional<std::vector<qint64>> ids = library.add(batch, &summary.error);
        batch.clear();
        if (!ids)
            return false;
        for (qint64 id : *ids)
            ++(id ? summary.imported : summary.skipped);
        if (progress)
            progress(done, int(paths.size()));
        return true;
    };
    for (int i = 0; i < paths.size(); ++i) {
        const std::optional<std::vector<Byte>> bytes = SysExFile::readAll(paths[i]);
        std::optional<Capture> capture = bytes ? captureOf(*bytes, QFileInfo(paths[i]).suffix()) : std::nullopt;
        if (!capture) {
            ++summary.skipped;
            continue;
        }
        capture->sighting = {Sighting::Source::Import, {}, -1, QFileInfo(paths[i]).absoluteFilePath(), {}};
        batch.push_back(std::move(*capture));
        if (batch.size() == BatchSize && !flush(i + 1))
            return summary;
    }
    if (!batch.empty() || paths.isEmpty())
        flush(int(paths.size()));
    return summary;
}

} // namespace LibraryImport

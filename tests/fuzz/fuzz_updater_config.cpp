// Arbitrary bytes as an updater package's config.xml.
#include "updater/core/Log.h"
#include "updater/engine/UpdaterConfiguration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A package directory holding an image, so that firmware elements can name a real file.
const QDir &packageDirectory()
{
    static QTemporaryDir directory;
    static const bool written = [] {
        QFile image(directory.filePath(QStringLiteral("fw.bin")));
        return image.open(QIODevice::WriteOnly) && image.write("VPFW....") == 8;
    }();
    static const QDir dir(directory.path());
    (void)written;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool quiet = (Oxa::setLogSink([](const std::string &) {}), true);
    (void)quiet;
    Oxa::UpdaterConfiguration configuration(packageDirectory(), nullptr);
    const bool loaded = configuration.loadFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (loaded != configuration.configured())
        std::abort();
    if (!loaded)
        return 0;
    // A loaded package has a title and only firmware that names an existing file.
    if (configuration.packager()->title().isEmpty())
        std::abort();
    for (const auto &deviceClass : configuration.services()->deviceClasses()) {
        for (const Oxa::FirmwareDescription &firmware : deviceClass->firmwares()) {
            const QFileInfo image(QString::fromStdString(firmware.imagePath));
            if (!image.isAbsolute() || !image.isFile() || firmware.blockSize == 0 || firmware.blockSize < -1)
                std::abort();
        }
    }
    configuration.services()->rescan(); // no device control: finds nothing, must not fail
    if (configuration.services()->deviceCount() != 0)
        std::abort();
    return 0;
}

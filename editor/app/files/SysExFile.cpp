#include "editor/app/files/SysExFile.h"

#include "editor/app/files/StaleFiles.h"
#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "editor/core/model/RegularFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace SysExFile {

namespace {

constexpr Byte FileDeviceId = CBSysExPatch::AnyDevice;

using Builder = int (CBSysExPatch::*)(SysExContext &) const;

void appendTransfer(QByteArray &out, Builder build, std::span<const Byte> image)
{
    std::array<Byte, CBSysExPatch::MaxMessageLength> buffer{};
    // Never let a builder read past a short image.
    std::vector<Byte> source(image.begin(), image.end());
    source.resize(std::max<std::size_t>(source.size(), PatchImageSize), 0);
    SysExContext context;
    context.message = buffer.data();
    context.image = source.data();
    context.deviceId = FileDeviceId;
    context.patchNumber = 0;
    const int length = (CBPatch::instance().sysEx().*build)(context);
    out.append(reinterpret_cast<const char *>(buffer.data()), length);
}

template <typename Validate>
bool validCopy(std::span<const Byte> image, std::size_t size, Validate validate)
{
    if (image.size() != size)
        return false;
    std::vector<Byte> copy(image.begin(), image.end());
    return (CBPatch::instance().*validate)(copy.data());
}

} // namespace

bool forEachMessage(std::span<const Byte> bytes, const std::function<bool(std::span<const Byte>)> &visit)
{
    auto position = bytes.begin();
    while (position != bytes.end()) {
        const auto start = std::find(position, bytes.end(), SysExStart);
        if (start == bytes.end())
            return false;
        const auto end = std::find(start, bytes.end(), SysExEnd);
        if (end == bytes.end())
            return true;
        if (!visit({start, end + 1}))
            return false;
        position = end + 1;
    }
    return false;
}

std::optional<std::vector<Byte>> readAll(const QString &path)
{
#ifdef Q_OS_WIN
    const std::string name = path.toStdString(); // UTF-8, as the reader takes it there
#else
    const std::string name = QFile::encodeName(path).toStdString();
#endif
    RegularFile::Contents contents = RegularFile::read(name, MaxFileSize);
    if (contents.status != RegularFile::Status::Read)
        return std::nullopt;
    return std::move(contents.bytes);
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    StaleFiles::removeTemporariesOf(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::vector<Byte> extract(const SysExContext &context, int size)
{
    std::vector<Byte> image(std::size_t(size), 0);
    SysExContext out = context;
    out.image = image.data();
    CBSysExPatch &sysEx = CBPatch::instance().sysEx();
    const bool extracted = size == PatchImageSize   ? sysEx.extractPatchImage(out)
                           : size == ZonesImageSize ? sysEx.extractZonesImage(out)
                                                    : sysEx.extractBankSettings(out);
    if (!extracted)
        image.clear();
    return image;
}

bool parse(Message &message, SysExContext &context)
{
    context = SysExContext{};
    context.message = message.data();
    context.length = int(message.size());
    context.deviceId = FileDeviceId;
    return CBPatch::instance().sysEx().parse(context) == CBSysExPatch::Accepted;
}

void appendPatchTransfer(QByteArray &out, std::span<const Byte> patchImage)
{
    appendTransfer(out, &CBSysExPatch::buildPatchTransfer, patchImage);
}

void appendZonesTransfer(QByteArray &out, std::span<const Byte> zonesImage)
{
    appendTransfer(out, &CBSysExPatch::buildZonesTransfer, zonesImage);
}

void appendBankSettingsTransfer(QByteArray &out, std::span<const Byte> settings)
{
    appendTransfer(out, &CBSysExPatch::buildBankSettingsTransfer, settings);
}

bool isValidPatchImage(std::span<const Byte> image)
{
    return validCopy(image, PatchImageSize, &CBPatch::validatePatchImage);
}

bool isValidZonesImage(std::span<const Byte> image)
{
    return validCopy(image, ZonesImageSize, &CBPatch::validateZonesImage);
}

bool isValidBankSettings(std::span<const Byte> settings)
{
    return validCopy(settings, BankSettingsSize, &CBPatch::validateBankSettings);
}

} // namespace SysExFile

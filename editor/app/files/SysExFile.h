#pragma once

#include "editor/core/model/PatchTypes.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>
#include <vector>

struct SysExContext;

// The common ground of patch and bank files: a file is the SysEx messages
// that would carry its data to the controller, concatenated.
namespace SysExFile {

using Message = std::vector<Byte>;

// Every F0..F7 range in order; bytes outside such ranges are ignored.
std::vector<Message> split(std::span<const Byte> bytes);

// The whole file, or nothing when it cannot be read.
std::optional<QByteArray> readAll(const QString &path);

// Writes the bytes through a save file, so a failed or interrupted write
// leaves the previous file as it was.
bool writeAll(const QString &path, const QByteArray &bytes);

// Parses a private copy of the message as if from any device; the context
// holds the result, the command and the patch number. True when accepted.
bool parse(Message &message, SysExContext &context);

// The image carried by an accepted transfer (352, 64 or 17 bytes by size);
// empty when the message carries no such image.
std::vector<Byte> extract(const SysExContext &context, int size);

// Builders of the three transfers, for device ID 0x7F and patch number 0.
void appendPatchTransfer(QByteArray &out, std::span<const Byte> patchImage);
void appendZonesTransfer(QByteArray &out, std::span<const Byte> zonesImage);
void appendBankSettingsTransfer(QByteArray &out, std::span<const Byte> settings);

// Copies of an image that pass the model's validation, for the writers.
bool isValidPatchImage(std::span<const Byte> image);
bool isValidZonesImage(std::span<const Byte> image);
bool isValidBankSettings(std::span<const Byte> settings);

inline std::span<const Byte> bytesOf(const QByteArray &data)
{
    return {reinterpret_cast<const Byte *>(data.constData()), std::size_t(data.size())};
}

} // namespace SysExFile

#pragma once

#include "editor/core/model/PatchTypes.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

struct SysExContext;

// The common ground of patch and bank files: a file is the SysEx messages
// that would carry its data to the controller, concatenated.
namespace SysExFile {

using Message = std::vector<Byte>;

// A patch file is 434 bytes and a bank file 6969: anything far larger is
// refused before it is read.
inline constexpr std::size_t MaxFileSize = 1 << 20;

// Hands every F0..F7 range to visit, in order, until visit returns false;
// bytes outside such ranges are ignored. True when the bytes end inside a
// message (an F0 without its F7), as a cut file does.
bool forEachMessage(std::span<const Byte> bytes, const std::function<bool(std::span<const Byte>)> &visit);

// The whole file; nothing when it is missing, unreadable, larger than
// MaxFileSize or not a regular file (a FIFO or a device is never waited on).
std::optional<std::vector<Byte>> readAll(const QString &path);

// Writes the bytes through a save file, so a failed or interrupted write
// leaves the previous file as it was; first removes what a killed earlier
// write of the same file left behind.
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

} // namespace SysExFile

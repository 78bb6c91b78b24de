#pragma once

#include "editor/app/files/FileKinds.h"
#include "editor/core/model/PatchTypes.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

// A bank file in memory: the bank settings, 16 patch images and, when the
// file has all of them, 16 zones images.
struct BankFile {
    bool valid = false;
    std::vector<Byte> settings;                 // empty or 17 bytes
    std::vector<std::vector<Byte>> patchImages; // 16 when valid
    std::vector<std::vector<Byte>> zonesImages; // 0 or 16
    // Missing: no zones transfer; Incomplete: fewer than 16, or one cut off
    // or refused.
    ZonesPart zonesPart = ZonesPart::Missing;

    // The position of a patch is its order among the patch transfers; a
    // file with a zones part missing or incomplete has no zones. An invalid
    // file holds nothing.
    static BankFile fromBytes(std::span<const Byte> bytes);
    static BankFile read(const QString &path);

    // The 6969 bytes of a bank file; empty when any image is invalid or the
    // counts are not 16.
    static QByteArray toBytes(std::span<const Byte> settings, const std::vector<std::vector<Byte>> &patchImages,
                              const std::vector<std::vector<Byte>> &zonesImages);
};

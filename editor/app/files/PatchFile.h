#pragma once

#include "editor/app/files/FileKinds.h"
#include "editor/core/model/PatchTypes.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

// A patch file in memory: one patch image and, optionally, its zones image.
struct PatchFile {
    bool valid = false;
    std::vector<Byte> patchImage; // empty or 352 bytes
    std::vector<Byte> zonesImage; // empty or 64 bytes
    // Missing: no zones transfer; Incomplete: one cut off or refused.
    ZonesPart zonesPart = ZonesPart::Missing;

    // Reads the messages in order; patch and zones transfers in any order
    // with anything between them. An invalid file holds no images.
    static PatchFile fromBytes(std::span<const Byte> bytes);
    // An unreadable file is an invalid one.
    static PatchFile read(const QString &path);

    // The 434 bytes of a patch file, or only the patch transfer when there
    // is no zones image; empty when an image is invalid.
    static QByteArray toBytes(std::span<const Byte> patchImage, std::span<const Byte> zonesImage);
};

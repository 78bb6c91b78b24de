#pragma once

#include "editor/core/model/PatchTypes.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <vector>

enum class EntryKind { Patch = 0, Bank = 1 };

// Where a patch or bank was seen: a controller's slot, a file, an import.
struct Sighting {
    enum class Source { Controller = 0, File = 1, Import = 2 };
    Source source = Source::Import;
    QString serial; // controller
    int slot = -1;  // controller, or position in a bank file
    QString path;   // file or import
    QDateTime seen; // filled in by the library when null
};

struct PatchImages {
    std::vector<Byte> patch; // 352 bytes
    std::vector<Byte> zones; // 64 bytes, or empty
};

// One thing to keep: a patch (no settings, one patch) or a bank (its
// settings and 16 patches, which become patch entries of their own).
struct Capture {
    std::vector<Byte> settings;
    std::vector<PatchImages> patches;
    Sighting sighting;

    bool isBank() const { return !settings.empty(); }
};

// A patch or bank entry. List queries fill the summary; entry() fills all.
struct LibraryEntry {
    qint64 id = 0;
    EntryKind kind = EntryKind::Patch;
    QString name;
    QDateTime firstSeen;
    QDateTime lastSeen;
    bool favourite = false;
    QStringList tags;
    QString note;

    QByteArray digest;
    PatchImages images;           // a patch
    std::vector<Byte> settings;   // a bank
    std::vector<qint64> patchIds; // a bank: its 16 patch entries in order
    std::vector<Sighting> sightings;
};

// What a list or search asks for; newest first.
struct LibraryQuery {
    QString text = {}; // in the name, the note or a tag, case-insensitive
    QString tag = {};  // exactly this tag
    bool favouritesOnly = false;
    int limit = 100;
    int offset = 0;
};

Q_DECLARE_METATYPE(LibraryEntry)

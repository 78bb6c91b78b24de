#pragma once

#include <QString>

// Which file is which, by suffix: the text after the last dot, compared
// case-sensitively.
bool isPatchFile(const QString &path);
bool isBankFile(const QString &path);

// What the user is told when a file cannot be loaded.
inline constexpr char InvalidPatchFileText[] = "This patch file is invalid";
inline constexpr char InvalidBankFileText[] = "This bank file is invalid";

// How much of its zones part a file held. Files written by other programs may
// lack it, and a cut file holds part of it: such a file still loads, its zones
// left as they were, and the user is told.
enum class ZonesPart { Complete, Missing, Incomplete };

inline constexpr char ZonesMissingText[] = "The file has no zones part: the zones were left unchanged";
inline constexpr char ZonesIncompleteText[] = "The file's zones part is incomplete: the zones were left unchanged";

// What the user is told about a file's zones part; empty when it is complete.
QString zonesPartNotice(ZonesPart part);

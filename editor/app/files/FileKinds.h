#pragma once

#include <QString>

// Which file is which, by suffix: the text after the last dot, compared
// case-sensitively.
bool isPatchFile(const QString &path);
bool isBankFile(const QString &path);

// What the user is told when a file cannot be loaded.
inline constexpr char InvalidPatchFileText[] = "This patch file is invalid";
inline constexpr char InvalidBankFileText[] = "This bank file is invalid";

#pragma once

#include <QString>

// Told what a file load is about to replace and which files were read or
// written, so the library can keep both. The calls come after the checks
// and never wait for the library.
class FileCapture
{
public:
    static constexpr int WholeBank = -1;

    virtual ~FileCapture() = default;
    // The slot (0..15), or the whole bank, is about to be replaced.
    virtual void replacing(int position) = 0;
    virtual void fileLoaded(const QString &path) = 0;
    virtual void fileSaved(const QString &path) = 0;
};

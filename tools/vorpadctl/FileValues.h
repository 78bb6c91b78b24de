#pragma once

#include "editor/app/files/PatchFile.h"
#include "editor/core/PatchValues.h"

#include <optional>
#include <string>
#include <vector>

// The parameters of a loaded patch or bank file by name, for show and diff,
// and the checked change of one value of a patch file for set.
class FileValues
{
public:
    using Value = PatchValues::Value;

    // A valid file, or nothing and the reason in error. Numbers as the editor
    // shows them, or as stored when raw.
    static std::optional<FileValues> load(const std::string &path, std::string &error, bool raw = false);

    bool isBank() const { return m_bank; }
    // What the user should know about a file that loaded: its zones part
    // missing or incomplete. Empty otherwise.
    const std::string &notice() const { return m_notice; }
    const std::vector<Value> &values() const { return m_values; }
    std::string toText() const;
    std::string toJson() const;

    // "NAME: a -> b" for every parameter that differs, in file order.
    static std::vector<std::string> differences(const FileValues &a, const FileValues &b)
    {
        return PatchValues::differences(a.m_values, b.m_values);
    }

    // Sets one parameter through the model's own parameter objects, so its
    // range, name and ordering checks apply; false and a reason when refused
    // (the file is then unchanged). A number as the editor shows it, or as
    // stored when raw.
    static bool setPatchValue(PatchFile &file, const std::string &name, const std::string &value, bool raw,
                              std::string &error);

private:
    std::string m_path;
    bool m_bank = false;
    std::string m_notice;
    std::vector<Value> m_values;
};

#pragma once

#include "editor/app/files/PatchFile.h"
#include "tools/vorpadctl/ParamCatalog.h"

#include <optional>
#include <string>
#include <vector>

// The parameters of a loaded patch or bank file by name, for show and diff,
// and the checked change of one value of a patch file for set.
class FileValues
{
public:
    struct Value {
        std::string name;
        ParamCatalog::ValueKind kind;
        std::string text;
    };

    // A valid file, or nothing and the reason in error.
    static std::optional<FileValues> load(const std::string &path, std::string &error);

    bool isBank() const { return m_bank; }
    // What the user should know about a file that loaded: its zones part
    // missing or incomplete. Empty otherwise.
    const std::string &notice() const { return m_notice; }
    const std::vector<Value> &values() const { return m_values; }
    std::string toText() const;
    std::string toJson() const;

    // "NAME: a -> b" for every parameter that differs, in file order.
    static std::vector<std::string> differences(const FileValues &a, const FileValues &b);

    // Sets one parameter through the model's own parameter objects, so its
    // range, name and ordering checks apply; false and a reason when refused
    // (the file is then unchanged).
    static bool setPatchValue(PatchFile &file, const std::string &name, const std::string &value, std::string &error);

private:
    void addPatch(const std::string &prefix, std::vector<Byte> patch, std::vector<Byte> zones);

    std::string m_path;
    bool m_bank = false;
    std::string m_notice;
    std::vector<Value> m_values;
};

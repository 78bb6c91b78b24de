#include "tools/vorpadctl/FileValues.h"

#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/core/BoundScalarParam.h"
#include "tools/vorpadctl/CommandLine.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace {

using ParamCatalog::Entry;
using ParamCatalog::ImageKind;
using ParamCatalog::ValueKind;

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

std::string shown(const FileValues::Value &v) { return v.kind == ValueKind::Text ? quoted(v.text) : v.text; }

// Why a number was refused: its range or its partner.
std::string numberRefusal(const Entry &entry, int value, Brisel::ScalarParam &param, Brisel::ScalarParam *partner)
{
    if (value < param.minimum() || value > param.maximum())
        return entry.name + ": " + std::to_string(value) + " is outside " + std::to_string(param.minimum()) + ".." +
               std::to_string(param.maximum());
    return entry.name + ": " + std::to_string(value) + " must not be " + (entry.upper ? "below " : "above ") +
           entry.partner + " (" + std::to_string(partner ? partner->value() : 0) + ")";
}

bool setNumber(const Entry &entry, Byte *image, const std::string &text, std::string &error)
{
    const std::optional<int> value = toInt(text);
    if (!value) {
        error = entry.name + ": '" + text + "' is not a whole number";
        return false;
    }
    auto param = ParamCatalog::makeParam(entry, image);
    auto &scalar = static_cast<Brisel::ScalarParam &>(*param);
    std::unique_ptr<Brisel::Param> partner;
    if (!entry.partner.empty()) {
        partner = ParamCatalog::makeParam(*ParamCatalog::findPatchEntry(entry.partner), image);
        auto &partnerScalar = static_cast<Brisel::ScalarParam &>(*partner);
        Brisel::BoundScalarParam bound(scalar, partnerScalar,
                                       entry.upper ? Brisel::BoundScalarParam::Upper : Brisel::BoundScalarParam::Lower);
        bound.setValue(*value);
    } else {
        scalar.setValue(*value);
    }
    if (scalar.value() == *value)
        return true;
    error = numberRefusal(entry, *value, scalar, static_cast<Brisel::ScalarParam *>(partner.get()));
    return false;
}

bool setText(const Entry &entry, Byte *image, const std::string &text, std::string &error)
{
    auto param = ParamCatalog::makeParam(entry, image);
    auto &string = static_cast<Brisel::StringParam &>(*param);
    string.setValue(text);
    std::string wanted = text;
    wanted.erase(wanted.find_last_not_of(' ') + 1);
    if (string.value() == wanted)
        return true;
    error = entry.name + ": " + quoted(text) +
            (entry.id == Control ? " is not a control name: at most 8 ASCII characters"
                                 : " is not a legal name: at most 16 characters of 0x20..0x7E, none of \"*/:<>?\\|");
    return false;
}

} // namespace

std::optional<FileValues> FileValues::load(const std::string &path, std::string &error)
{
    const QString qpath = QString::fromStdString(path);
    const bool bank = isBankFile(qpath);
    if (!bank && !isPatchFile(qpath)) {
        error = path + ": not a patch (.vpp) or bank (.vpb) file";
        return std::nullopt;
    }
    if (!QFileInfo::exists(qpath)) {
        error = path + ": no such file";
        return std::nullopt;
    }
    FileValues values;
    values.m_path = path;
    values.m_bank = bank;
    if (!bank) {
        const PatchFile file = PatchFile::read(qpath);
        if (!file.valid) {
            error = path + ": " + InvalidPatchFileText;
            return std::nullopt;
        }
        values.addPatch("", file.patchImage, file.zonesImage);
        values.m_notice = zonesPartNotice(file.zonesPart).toStdString();
        return values;
    }
    const BankFile file = BankFile::read(qpath);
    if (!file.valid) {
        error = path + ": " + InvalidBankFileText;
        return std::nullopt;
    }
    values.m_notice = zonesPartNotice(file.zonesPart).toStdString();
    std::vector<Byte> settings = file.settings;
    for (const Entry &entry : ParamCatalog::bankSettingsEntries())
        values.m_values.push_back({entry.name, entry.kind, ParamCatalog::valueText(entry, settings.data())});
    for (std::size_t p = 0; p < file.patchImages.size(); ++p) {
        values.addPatch("Patch" + std::to_string(p + 1) + ".", file.patchImages[p],
                        file.zonesImages.empty() ? std::vector<Byte>{} : file.zonesImages[p]);
    }
    return values;
}

void FileValues::addPatch(const std::string &prefix, std::vector<Byte> patch, std::vector<Byte> zones)
{
    for (const Entry &entry : ParamCatalog::patchEntries()) {
        const bool inZones = entry.image == ImageKind::Zones;
        if (inZones && zones.empty())
            continue;
        Byte *image = inZones ? zones.data() : patch.data();
        m_values.push_back({prefix + entry.name, entry.kind, ParamCatalog::valueText(entry, image)});
    }
}

std::string FileValues::toText() const
{
    std::string out = printable(m_path) + ": valid " + (m_bank ? "bank" : "patch") + " file\n";
    for (const Value &v : m_values)
        out += v.name + " = " + shown(v) + "\n";
    return out;
}

std::string FileValues::toJson() const
{
    QJsonArray parameters;
    for (const Value &v : m_values) {
        QJsonObject item{{"name", QString::fromStdString(v.name)}};
        if (v.kind == ValueKind::Text)
            item.insert("value", QString::fromStdString(v.text));
        else
            item.insert("value", toInt(v.text).value_or(0));
        parameters.append(item);
    }
    const QJsonObject root{{"file", QString::fromStdString(m_path)},
                           {"kind", m_bank ? "bank" : "patch"},
                           {"valid", true},
                           {"parameters", parameters}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::vector<std::string> FileValues::differences(const FileValues &a, const FileValues &b)
{
    std::map<std::string, const Value *> inB;
    for (const Value &v : b.m_values)
        inB[v.name] = &v;
    std::vector<std::string> out;
    for (const Value &v : a.m_values) {
        auto it = inB.find(v.name);
        if (it == inB.end())
            out.push_back(v.name + ": " + shown(v) + " -> (none)");
        else if (it->second->text != v.text)
            out.push_back(v.name + ": " + shown(v) + " -> " + shown(*it->second));
        if (it != inB.end())
            inB.erase(it);
    }
    for (const Value &v : b.m_values) {
        if (inB.count(v.name))
            out.push_back(v.name + ": (none) -> " + shown(v));
    }
    return out;
}

bool FileValues::setPatchValue(PatchFile &file, const std::string &name, const std::string &value, std::string &error)
{
    const Entry *entry = ParamCatalog::findPatchEntry(name);
    if (!entry) {
        error = "unknown parameter '" + name + "' ('vorpadctl show FILE' lists them)";
        return false;
    }
    const bool inZones = entry->image == ImageKind::Zones;
    if (inZones && file.zonesImage.empty()) {
        error = name + ": this patch file holds no zones";
        return false;
    }
    std::vector<Byte> image = inZones ? file.zonesImage : file.patchImage;
    const bool accepted = entry->kind == ValueKind::Text ? setText(*entry, image.data(), value, error)
                                                         : setNumber(*entry, image.data(), value, error);
    if (accepted)
        (inZones ? file.zonesImage : file.patchImage) = image;
    return accepted;
}

#include "tools/vorpadctl/FileValues.h"

#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/core/BoundScalarParam.h"
#include "tools/vorpadctl/CommandLine.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using ParamCatalog::Entry;
using ParamCatalog::ImageKind;
using ParamCatalog::ValueKind;

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

// How a stored number is written for the user: as the editor shows it, or as stored.
struct Numbers {
    DisplayValues::Form form;
    bool raw;

    int shown(int stored) const { return raw ? stored : DisplayValues::shown(form, stored); }
    int stored(int shown) const { return raw ? shown : DisplayValues::stored(form, shown); }
    std::string text(int stored) const { return raw ? std::to_string(stored) : DisplayValues::text(form, stored); }
};

// Why a number was refused: its range or its partner.
std::string numberRefusal(const Entry &entry, const std::string &text, int value, Brisel::ScalarParam &param,
                          Brisel::ScalarParam *partner, const Numbers &numbers)
{
    if (value < param.minimum() || value > param.maximum())
        return entry.name + ": " + text + " is outside " + std::to_string(numbers.shown(param.minimum())) + ".." +
               std::to_string(numbers.shown(param.maximum()));
    return entry.name + ": " + text + " must not be " + (entry.upper ? "below " : "above ") + entry.partner + " (" +
           numbers.text(partner ? partner->value() : 0) + ")";
}

bool setNumber(const Entry &entry, Byte *image, const std::string &text, bool raw, std::string &error)
{
    const Numbers numbers{entry.form, raw};
    // A "+" as the editor writes it before positive numbers.
    const std::optional<int> shown = toInt(!text.empty() && text.front() == '+' ? text.substr(1) : text);
    if (!shown) {
        error = entry.name + ": '" + text + "' is not a whole number";
        return false;
    }
    const int value = numbers.stored(*shown);
    auto param = ParamCatalog::makeParam(entry, image);
    auto &scalar = static_cast<Brisel::ScalarParam &>(*param);
    std::unique_ptr<Brisel::Param> partner;
    if (!entry.partner.empty()) {
        partner = ParamCatalog::makeParam(*ParamCatalog::findPatchEntry(entry.partner), image);
        auto &partnerScalar = static_cast<Brisel::ScalarParam &>(*partner);
        Brisel::BoundScalarParam bound(scalar, partnerScalar,
                                       entry.upper ? Brisel::BoundScalarParam::Upper : Brisel::BoundScalarParam::Lower);
        bound.setValue(value);
    } else {
        scalar.setValue(value);
    }
    if (scalar.value() == value)
        return true;
    error = numberRefusal(entry, text, value, scalar, static_cast<Brisel::ScalarParam *>(partner.get()), numbers);
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

std::optional<FileValues> FileValues::load(const std::string &path, std::string &error, bool raw)
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
        values.m_values = PatchValues::ofPatch(file.patchImage, file.zonesImage, {}, raw);
        values.m_notice = zonesPartNotice(file.zonesPart).toStdString();
        return values;
    }
    const BankFile file = BankFile::read(qpath);
    if (!file.valid) {
        error = path + ": " + InvalidBankFileText;
        return std::nullopt;
    }
    values.m_notice = zonesPartNotice(file.zonesPart).toStdString();
    values.m_values = PatchValues::ofBankSettings(file.settings, raw);
    for (std::size_t p = 0; p < file.patchImages.size(); ++p) {
        const std::vector<PatchValues::Value> patch = PatchValues::ofPatch(
            file.patchImages[p], file.zonesImages.empty() ? std::vector<Byte>{} : file.zonesImages[p],
            "Patch" + std::to_string(p + 1) + ".", raw);
        values.m_values.insert(values.m_values.end(), patch.begin(), patch.end());
    }
    return values;
}

std::string FileValues::toText() const
{
    std::string out = printable(m_path) + ": valid " + (m_bank ? "bank" : "patch") + " file\n";
    for (const Value &v : m_values)
        out += v.name + " = " + PatchValues::shown(v) + "\n";
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
            item.insert("value", v.number);
        parameters.append(item);
    }
    const QJsonObject root{{"file", QString::fromStdString(m_path)},
                           {"kind", m_bank ? "bank" : "patch"},
                           {"valid", true},
                           {"parameters", parameters}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

bool FileValues::setPatchValue(PatchFile &file, const std::string &name, const std::string &value, bool raw,
                               std::string &error)
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
                                                         : setNumber(*entry, image.data(), value, raw, error);
    if (accepted)
        (inZones ? file.zonesImage : file.patchImage) = image;
    return accepted;
}

#pragma once

#include "editor/core/model/PatchTypes.h"

#include <memory>

class CBSysExPatch;

// Knows the layout, ranges and defaults of the patch, zones and bank-settings
// images and reads and writes every value by (parameter id, index, field).
// Every operation takes an optional image; a null pointer means the own image
// that fits the parameter id (the active patch, its zones, the bank settings).
class CBPatch
{
public:
    // The editor's model: its own images are the active patch, its zones and
    // the bank settings in effect.
    static CBPatch &instance();

    // A model apart from the editor's, with default images of its own: the
    // simulated controller's firmware keeps one, so nothing it does can reach
    // the editor's images in the same process.
    CBPatch();
    virtual ~CBPatch();

    virtual void initPatch(Byte *image = nullptr);
    virtual void initZones(Byte *image = nullptr);
    virtual void initBankSettings(Byte *record = nullptr);

    virtual bool setControlName(int id, int index, int field, const char *chars8, Byte *image = nullptr);
    virtual bool setString(int id, const char *text16, Byte *image = nullptr);
    virtual bool setField(int id, int index, int field, int value, Byte *image = nullptr);
    virtual bool setScalar(int id, int value, Byte *image = nullptr);

    virtual bool getControlName(int id, int index, int field, char *out8, const Byte *image = nullptr) const;
    virtual bool getString(int id, char *out16, const Byte *image = nullptr) const;
    virtual bool getField(int id, int index, int field, int *out, const Byte *image = nullptr) const;
    virtual bool getScalar(int id, int *out, const Byte *image = nullptr) const;

    virtual int minimum(int id, int field) const;
    virtual int maximum(int id, int field) const;

    virtual void copyPatchImage(Byte *dst, const Byte *src);
    virtual void copyZonesImage(Byte *dst, const Byte *src);
    virtual void copyBankSettings(Byte *dst, const Byte *src);

    virtual bool validatePatchImage(Byte *image = nullptr);
    virtual bool validateZonesImage(Byte *image = nullptr);
    virtual bool validateBankSettings(Byte *record = nullptr);

    virtual int comparePatchImages(const Byte *a, const Byte *b) const;
    virtual int compareZonesImages(const Byte *a, const Byte *b) const;

    CBSysExPatch &sysEx() { return *m_sysEx; }
    const CBSysExPatch &sysEx() const { return *m_sysEx; }

    // True when the character may appear in a patch or bank name.
    static bool isLegalNameChar(char c);

    CBPatch(const CBPatch &) = delete;
    CBPatch &operator=(const CBPatch &) = delete;

private:
    Byte *ownImageFor(int id);
    const Byte *ownImageFor(int id) const;
    Byte *resolve(int id, Byte *image) { return image ? image : ownImageFor(id); }
    const Byte *resolve(int id, const Byte *image) const { return image ? image : ownImageFor(id); }

    PatchImage m_patch{};
    ZonesImage m_zones{};
    BankSettingsRecord m_bankSettings{};
    std::unique_ptr<CBSysExPatch> m_sysEx;
};

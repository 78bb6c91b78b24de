#pragma once

#include "editor/core/Observer.h"
#include "editor/core/PatchParams.h"
#include "editor/core/RequestTargets.h"
#include "editor/core/model/PatchTypes.h"

#include <span>

namespace Brisel {

// One of the 16 stored patches: its own patch and zones images, filled with
// the factory defaults until the device or a file replaces them.
class Patch : public PatchTarget
{
public:
    explicit Patch(int number);

    int number() const override { return m_number; }
    bool isModified() const { return m_modified; }
    void clearModified() { m_modified = false; }

    const PatchImage &patchImage() const { return m_patchImage; }
    const ZonesImage &zonesImage() const { return m_zonesImage; }
    StringPatchParam &name() { return m_name; }

    // Replace an image: refused unless it has the exact size and every value
    // is legal; an accepted image marks the patch modified and notifies.
    bool setPatchImage(std::span<const Byte> bytes);
    bool setZonesImage(std::span<const Byte> bytes);
    bool setPatchImage(const std::vector<Byte> &bytes) override { return setPatchImage(std::span(bytes)); }
    bool setZonesImage(const std::vector<Byte> &bytes) override { return setZonesImage(std::span(bytes)); }

    Utils::Subject &patchImageSubject() { return m_patchImageSubject; }
    Utils::Subject &zonesImageSubject() { return m_zonesImageSubject; }

    Patch(const Patch &) = delete;
    Patch &operator=(const Patch &) = delete;

private:
    const int m_number;
    bool m_modified = false;
    PatchImage m_patchImage{};
    ZonesImage m_zonesImage{};
    StringPatchParam m_name;
    Utils::Subject m_patchImageSubject;
    Utils::Subject m_zonesImageSubject;
};

} // namespace Brisel

#include "editor/core/Patch.h"

#include "editor/core/model/CBPatch.h"

#include <algorithm>

namespace Brisel {

Patch::Patch(int number) : m_number(number), m_name(PatchName, NameLength, m_patchImage.data())
{
    CBPatch::instance().initPatch(m_patchImage.data());
    CBPatch::instance().initZones(m_zonesImage.data());
}

bool Patch::setPatchImage(std::span<const Byte> bytes)
{
    if (bytes.size() != PatchImageSize)
        return false;
    PatchImage copy;
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    if (!CBPatch::instance().validatePatchImage(copy.data()))
        return false;
    m_patchImage = copy;
    m_modified = true;
    m_patchImageSubject.notify();
    return true;
}

bool Patch::setZonesImage(std::span<const Byte> bytes)
{
    if (bytes.size() != ZonesImageSize)
        return false;
    ZonesImage copy;
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    if (!CBPatch::instance().validateZonesImage(copy.data()))
        return false;
    m_zonesImage = copy;
    m_modified = true;
    m_zonesImageSubject.notify();
    return true;
}

} // namespace Brisel

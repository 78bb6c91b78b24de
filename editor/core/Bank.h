#pragma once

#include "editor/core/Patch.h"
#include "editor/core/PatchParams.h"
#include "editor/core/RequestTargets.h"

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace Brisel {

// The bank settings (on CBPatch's own record) and the 16 stored patches,
// numbers 1..16 at positions 0..15.
class Bank : public BankSettingsTarget
{
public:
    Bank();

    StringPatchParam &name() { return m_name; }
    ScalarPatchParam &currentPatch() { return m_currentPatch; }
    // Stored patch at position 0..15.
    Patch &patch(int position) { return *m_patches.at(std::size_t(position)); }
    const Patch &patch(int position) const { return *m_patches.at(std::size_t(position)); }

    // Replace the 17-byte record: refused unless exactly 17 legal bytes;
    // notifies the name and the current-patch observers.
    bool setSettings(std::span<const Byte> bytes);
    bool setSettings(const std::vector<Byte> &bytes) override { return setSettings(std::span(bytes)); }
    std::vector<Byte> settings() const;

    bool hasModifiedPatches() const;
    void clearModified();

    Bank(const Bank &) = delete;
    Bank &operator=(const Bank &) = delete;

private:
    StringPatchParam m_name;
    ScalarPatchParam m_currentPatch;
    std::array<std::unique_ptr<Patch>, StoredPatchCount> m_patches;
};

} // namespace Brisel

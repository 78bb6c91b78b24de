#include "editor/core/Bank.h"

#include "editor/core/model/CBPatch.h"

#include <algorithm>

namespace Brisel {

Bank::Bank() : m_name(BankName, NameLength), m_currentPatch(BankCurrentPatch)
{
    for (int p = 0; p < StoredPatchCount; ++p)
        m_patches[std::size_t(p)] = std::make_unique<Patch>(p + 1);
}

bool Bank::setSettings(std::span<const Byte> bytes)
{
    if (bytes.size() != BankSettingsSize)
        return false;
    BankSettingsRecord copy{};
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    CBPatch &model = CBPatch::instance();
    if (!model.validateBankSettings(copy.data()))
        return false;
    model.copyBankSettings(nullptr, copy.data());
    m_name.subject().notify();
    m_currentPatch.subject().notify();
    return true;
}

std::vector<Byte> Bank::settings() const
{
    std::vector<Byte> out(BankSettingsSize);
    CBPatch::instance().copyBankSettings(out.data(), nullptr);
    return out;
}

bool Bank::hasModifiedPatches() const
{
    return std::any_of(m_patches.begin(), m_patches.end(), [](const auto &p) { return p->isModified(); });
}

void Bank::clearModified()
{
    for (auto &p : m_patches)
        p->clearModified();
}

} // namespace Brisel

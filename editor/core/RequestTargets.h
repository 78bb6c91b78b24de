#pragma once

#include "editor/core/model/PatchTypes.h"

#include <vector>

// Where the answers of requests go. The model objects that hold the stored
// patches, the active patch and the bank implement these; each setter
// validates once more, stores, notifies its observers and returns false
// (changing nothing) for an image of the wrong size or with an invalid value.
namespace Brisel {

class PatchTarget
{
public:
    virtual ~PatchTarget() = default;
    // The device's number of this patch: 1..16 for a stored one, 0 for the active one.
    virtual int number() const = 0;
    virtual bool setPatchImage(const std::vector<Byte> &image) = 0;
    virtual bool setZonesImage(const std::vector<Byte> &image) = 0;
};

class BankSettingsTarget
{
public:
    virtual ~BankSettingsTarget() = default;
    virtual bool setSettings(const std::vector<Byte> &record) = 0;
};

} // namespace Brisel

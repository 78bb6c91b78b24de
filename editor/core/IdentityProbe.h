#pragma once

#include "editor/core/model/DeviceModel.h"

namespace Brisel {

// Asks the port pair who it is: two attempts of the identity request. Device
// ID 127, model 0 and no firmware when the indices are invalid, a port does
// not open, or nobody of this family answers.
IdentityResult probeIdentity(int inputIndex, int outputIndex);

} // namespace Brisel

#pragma once

#include "editor/core/model/DeviceModel.h"

#include <string>

namespace Brisel {

// One controller found on a pair of MIDI ports. The empty record stands for
// "no device".
struct DeviceRecord {
    int inputIndex = -1;
    int outputIndex = -1;
    std::string name = "No device";
    int deviceId = -1;
    int model = NotThisProduct;
    std::string firmware;

    static DeviceRecord empty() { return {}; }
    bool isEmpty() const { return *this == DeviceRecord(); }

    // The ports and the name make a record; what the device said does not.
    friend bool operator==(const DeviceRecord &a, const DeviceRecord &b)
    {
        return a.inputIndex == b.inputIndex && a.outputIndex == b.outputIndex && a.name == b.name;
    }
};

// Asks the port pair who it is: two attempts of the identity request. Device
// ID 127, model 0 and no firmware when the indices are invalid, a port does
// not open, or nobody of this family answers.
IdentityResult probeIdentity(int inputIndex, int outputIndex);

} // namespace Brisel

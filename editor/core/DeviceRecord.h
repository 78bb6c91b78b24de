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

} // namespace Brisel

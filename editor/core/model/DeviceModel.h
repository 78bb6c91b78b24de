#pragma once

#include <string>

// What the identity reply says about a controller, and the facts that follow
// from its model code. Shared by discovery, the zones editor, the about box
// and the simulated controller.
namespace Brisel {

enum Model : int {
    NotThisProduct = 0,
    UnknownSizeModel = 1,
    Model25 = 2,
    Model49 = 3,
    Model61 = 4,
};

inline constexpr int VendorId = 0x041E;
inline constexpr int NotIdentifiedDeviceId = 127;

struct IdentityResult {
    int model = NotThisProduct;
    int deviceId = NotIdentifiedDeviceId;
    std::string firmware;
};

struct KeyboardRange {
    int lowestNote = -1;
    int keyCount = 0;
};

// Model code from the family bytes, member code and byte 9 of an identity reply.
int modelFromIdentity(int family0, int family1, int member, int reserved);

// The identity member code that announces a model; -1 for models without one.
int memberCodeForModel(int model);

// Lowest note and number of keys; {-1, 0} for a model of unknown size.
KeyboardRange keyboardRange(int model);

// USB product id of the model; 0 (matches nothing) when it has none.
int usbProductId(int model);

} // namespace Brisel

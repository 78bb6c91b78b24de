#pragma once

#include <string>

namespace Oxa {

// One part of an update, written in steps.
class PartUpdater
{
public:
    virtual ~PartUpdater() = default;
    virtual int stepCount() const = 0;
    // True when step i was written and the device accepted it.
    virtual bool performStep(int step) = 0;
};

// The update of one device: its parts in order. Destroying it ends the
// update on the device, success or not.
class Updater
{
public:
    virtual ~Updater() = default;
    virtual int partCount() const = 0;
    virtual PartUpdater &part(int index) = 0;
    // After the last step: ends the update and checks that the device now
    // runs the package's firmware. False with a reason otherwise.
    virtual bool finish(std::string &failure) = 0;
};

} // namespace Oxa

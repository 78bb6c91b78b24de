#pragma once

#include "editor/core/Param.h"

#include <memory>

namespace Brisel {

class ModifiedStatusPrivate;

// Read-only 0/1 parameter that turns on when any tracked parameter is edited.
class ModifiedStatus : public ScalarParam
{
public:
    ModifiedStatus();
    ~ModifiedStatus() override;

    int minimum() const override { return 0; }
    int maximum() const override { return 1; }
    int value() const override;
    void setValue(int) override {}

    void track(Param &param);
    void setModified();
    void clearModified();

private:
    friend class ModifiedStatusPrivate;
    void set(bool modified);

    std::unique_ptr<ModifiedStatusPrivate> d;
};

} // namespace Brisel

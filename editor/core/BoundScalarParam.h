#pragma once

#include "editor/core/Observer.h"
#include "editor/core/Param.h"

namespace Brisel {

// Edits parameter A only while it stays on its side of partner B: A <= B
// (lower bound) or A >= B (upper bound). Range and value are A's; any change
// of A is passed on to this parameter's observers.
class BoundScalarParam : public ScalarParam, public Utils::Observer
{
public:
    enum Side : int {
        Lower = 0,
        Upper = 1,
    };

    BoundScalarParam(ScalarParam &own, ScalarParam &partner, Side side);

    int minimum() const override { return m_own.minimum(); }
    int maximum() const override { return m_own.maximum(); }
    int value() const override { return m_own.value(); }
    void setValue(int value) override;

    void update() override;

private:
    ScalarParam &m_own;
    ScalarParam &m_partner;
    Side m_side;
};

} // namespace Brisel

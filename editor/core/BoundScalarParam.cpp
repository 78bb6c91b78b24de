#include "editor/core/BoundScalarParam.h"

namespace Brisel {

BoundScalarParam::BoundScalarParam(ScalarParam &own, ScalarParam &partner, Side side)
    : m_own(own), m_partner(partner), m_side(side)
{
    m_own.subject().attach(this);
}

void BoundScalarParam::setValue(int value)
{
    const bool allowed = m_side == Lower ? value <= m_partner.value() : value >= m_partner.value();
    if (allowed)
        m_own.setValue(value); // notifies A, and through update() this parameter
    else
        notify();
}

void BoundScalarParam::update() { notify(); }

} // namespace Brisel

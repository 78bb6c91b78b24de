#include "editor/core/model/DeviceModel.h"

namespace Brisel {

namespace {

struct ModelFacts {
    int model;
    int memberCode;
    KeyboardRange range;
    int productId;
};

constexpr ModelFacts modelTable[] = {
    {Model25, 0, {48, 25}, 0x3F00},
    {Model49, 1, {36, 49}, 0x3F01},
    {Model61, 2, {36, 61}, 0x3F06},
};

const ModelFacts *factsOf(int model)
{
    for (const ModelFacts &facts : modelTable) {
        if (facts.model == model)
            return &facts;
    }
    return nullptr;
}

} // namespace

int modelFromIdentity(int family0, int family1, int member, int reserved)
{
    if (family0 != 0x02 || family1 != 0x40 || reserved != 0x00)
        return NotThisProduct;
    for (const ModelFacts &facts : modelTable) {
        if (facts.memberCode == member)
            return facts.model;
    }
    return UnknownSizeModel;
}

int memberCodeForModel(int model)
{
    const ModelFacts *facts = factsOf(model);
    return facts ? facts->memberCode : -1;
}

KeyboardRange keyboardRange(int model)
{
    const ModelFacts *facts = factsOf(model);
    return facts ? facts->range : KeyboardRange{};
}

int usbProductId(int model)
{
    const ModelFacts *facts = factsOf(model);
    return facts ? facts->productId : 0;
}

} // namespace Brisel

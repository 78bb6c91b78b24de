#pragma once

#include <QStyleOption>

// Style options that carry render-description keys. Each has a type of its
// own so that no style mistakes a plain option (or a partial copy of a keyed
// one) for a keyed option; plain() gives the toolkit option for styles that
// know nothing of keys.
template <typename Base, int TypeOffset, int KeyCount>
class CZelKeyedStyleOption : public Base
{
public:
    enum { Type = QStyleOption::SO_CustomBase + 0x5A00 + TypeOffset, Version = 1 };

    CZelKeyedStyleOption() { retag(); }
    explicit CZelKeyedStyleOption(const Base &base) : Base(base) { retag(); }

    Base plain() const
    {
        Base result(*this);
        result.type = Base::Type;
        result.version = Base::Version;
        return result;
    }

    QString keys[KeyCount];

private:
    void retag()
    {
        this->type = Type;
        this->version = Version;
    }
};

using CZelStyleOptionButton = CZelKeyedStyleOption<QStyleOptionButton, 1, 1>;
using CZelStyleOptionFrame = CZelKeyedStyleOption<QStyleOptionFrame, 2, 1>;
using CZelStyleOptionTabWidgetFrame = CZelKeyedStyleOption<QStyleOptionTabWidgetFrame, 3, 1>;
// keys[0]: the track or groove description; keys[1]: the thumb or handle.
using CZelStyleOptionSlider = CZelKeyedStyleOption<QStyleOptionSlider, 4, 2>;

// The keyed option behind option, or null when it is not of that kind.
template <typename Keyed>
const Keyed *czelKeyedCast(const QStyleOption *option)
{
    return option && option->type == Keyed::Type && option->version >= Keyed::Version
               ? static_cast<const Keyed *>(option)
               : nullptr;
}

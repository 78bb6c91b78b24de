#pragma once

#include <QStyleOption>

#include <array>

// Style options that carry render-description keys. Each has a type of its
// own so that no style mistakes a plain option for a keyed one (a toolkit
// copy of any option takes the copied class's own type, so a sliced copy of
// a keyed option reads as plain); plain() gives the toolkit option for styles
// that know nothing of keys.
template <typename Base, int TypeOffset, int KeyCount>
class CZelKeyedStyleOption : public Base
{
public:
    enum { Type = QStyleOption::SO_CustomBase + 0x5A00 + TypeOffset, Version = 1 };

    CZelKeyedStyleOption() { retag(); }
    explicit CZelKeyedStyleOption(const Base &base) : Base(base) { retag(); }
    // The toolkit's option copies take the static type of the copied class,
    // so a copy of a keyed option is made keyed again here.
    CZelKeyedStyleOption(const CZelKeyedStyleOption &other) : Base(other), keys(other.keys) { retag(); }
    CZelKeyedStyleOption &operator=(const CZelKeyedStyleOption &other)
    {
        Base::operator=(other);
        keys = other.keys;
        return *this;
    }
    ~CZelKeyedStyleOption() = default;

    Base plain() const
    {
        Base result(*this);
        result.type = Base::Type;
        result.version = Base::Version;
        return result;
    }

    std::array<QString, KeyCount> keys;

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

#pragma once

#include "editor/core/Param.h"

namespace Brisel {

// A non-indexed value of an image (getScalar / setScalar).
class ScalarPatchParam : public ScalarParam, public PatchParam
{
public:
    explicit ScalarPatchParam(int id, Byte *image = nullptr);

    int minimum() const override;
    int maximum() const override;
    int value() const override;
    void setValue(int value) override;
};

// One field of an indexed record: a control, a program change or a zone.
class ScalarPatchControlParam : public ScalarParam, public PatchParam
{
public:
    ScalarPatchControlParam(int id, int index, int field, Byte *image = nullptr);

    int index() const { return m_index; }
    int field() const { return m_field; }

    int minimum() const override;
    int maximum() const override;
    int value() const override;
    void setValue(int value) override;

private:
    int m_index;
    int m_field;
};

// A patch or bank name: trailing spaces are not part of the value; a text
// with one illegal character is refused as a whole.
class StringPatchParam : public StringParam, public PatchParam
{
public:
    StringPatchParam(int id, int length, Byte *image = nullptr);

    std::string value() const override;
    void setValue(const std::string &value) override;

private:
    int m_length;
};

// The eight-character name of a control; never refused, each byte masked to 7 bits.
class StringPatchControlParam : public StringParam, public PatchParam
{
public:
    explicit StringPatchControlParam(int index, Byte *image = nullptr);

    int index() const { return m_index; }

    std::string value() const override;
    void setValue(const std::string &value) override;

private:
    int m_index;
};

} // namespace Brisel

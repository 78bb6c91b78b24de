#include "editor/core/PatchParams.h"

#include "editor/core/model/CBPatch.h"

namespace Brisel {

namespace {

// At most length characters of text, padded with spaces to length.
std::string padded(const std::string &text, int length)
{
    std::string out = text.substr(0, std::size_t(length));
    out.resize(std::size_t(length), ' ');
    return out;
}

std::string withoutTrailingSpaces(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

ScalarPatchParam::ScalarPatchParam(int id, Byte *image) : PatchParam(id, image) {}

int ScalarPatchParam::minimum() const { return CBPatch::instance().minimum(id(), -1); }

int ScalarPatchParam::maximum() const { return CBPatch::instance().maximum(id(), -1); }

int ScalarPatchParam::value() const
{
    int out = 0;
    CBPatch::instance().getScalar(id(), &out, image());
    return out;
}

void ScalarPatchParam::setValue(int value)
{
    if (value >= minimum() && value <= maximum())
        CBPatch::instance().setScalar(id(), value, image());
    notify();
}

ScalarPatchControlParam::ScalarPatchControlParam(int id, int index, int field, Byte *image)
    : PatchParam(id, image), m_index(index), m_field(field)
{
}

int ScalarPatchControlParam::minimum() const { return CBPatch::instance().minimum(id(), m_field); }

int ScalarPatchControlParam::maximum() const { return CBPatch::instance().maximum(id(), m_field); }

int ScalarPatchControlParam::value() const
{
    int out = 0;
    CBPatch::instance().getField(id(), m_index, m_field, &out, image());
    return out;
}

void ScalarPatchControlParam::setValue(int value)
{
    if (value >= minimum() && value <= maximum())
        CBPatch::instance().setField(id(), m_index, m_field, value, image());
    notify();
}

StringPatchParam::StringPatchParam(int id, int length, Byte *image) : PatchParam(id, image), m_length(length) {}

std::string StringPatchParam::value() const
{
    std::string text(NameLength, ' ');
    CBPatch::instance().getString(id(), text.data(), image());
    return withoutTrailingSpaces(text.substr(0, std::size_t(m_length)));
}

void StringPatchParam::setValue(const std::string &value)
{
    // The model always reads a whole name field; characters past the
    // parameter's length are spaces.
    CBPatch::instance().setString(id(), padded(value.substr(0, std::size_t(m_length)), NameLength).c_str(), image());
    notify();
}

StringPatchControlParam::StringPatchControlParam(int index, Byte *image) : PatchParam(Control, image), m_index(index) {}

std::string StringPatchControlParam::value() const
{
    std::string text(ControlNameLength, ' ');
    CBPatch::instance().getControlName(id(), m_index, ControlName, text.data(), image());
    return withoutTrailingSpaces(text);
}

void StringPatchControlParam::setValue(const std::string &value)
{
    CBPatch::instance().setControlName(id(), m_index, ControlName, padded(value, ControlNameLength).c_str(), image());
    notify();
}

} // namespace Brisel

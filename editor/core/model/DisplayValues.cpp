#include "editor/core/model/DisplayValues.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>

namespace DisplayValues {

int offset(Form form)
{
    switch (form) {
    case Form::Channel:
    case Form::Curve:
        return -1;
    case Form::Octave:
        return 4;
    case Form::Semitone:
        return 64;
    case Form::Transpose:
        return 128;
    case Form::Plain:
    case Form::Note:
        break;
    }
    return 0;
}

bool isSigned(Form form) { return form == Form::Octave || form == Form::Semitone || form == Form::Transpose; }

namespace {

// Pinned to int's range: a number that far out is out of every parameter's range, and stays so.
int pinned(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

} // namespace

int shown(Form form, int stored) { return pinned((long long)stored - offset(form)); }

int stored(Form form, int shown) { return pinned((long long)shown + offset(form)); }

std::string signedText(int value)
{
    // Appended, not prepended: gcc 12 warns of an overlap in "+" + std::string.
    std::string text = value > 0 ? "+" : "";
    return text += std::to_string(value);
}

std::string noteName(int note)
{
    static constexpr const char *names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    if (note < 0 || note > 127)
        return std::string();
    std::string name = names[note % 12];
    return name += std::to_string(note / 12 - 1);
}

std::string text(Form form, int stored)
{
    const int value = shown(form, stored);
    if (form == Form::Note) {
        const std::string name = noteName(value);
        return name.empty() ? std::to_string(value) : std::to_string(value) + " (" + name + ")";
    }
    return isSigned(form) ? signedText(value) : std::to_string(value);
}

std::string firmwareText(const std::string &reported)
{
    if (reported.size() != 4 ||
        !std::all_of(reported.begin(), reported.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return reported;
    const unsigned major = unsigned(std::stoul(reported.substr(0, 2), nullptr, 16));
    const unsigned minor = unsigned(std::stoul(reported.substr(2), nullptr, 16));
    char out[16];
    std::snprintf(out, sizeof out, "%X.%02X", major, minor);
    return out;
}

} // namespace DisplayValues

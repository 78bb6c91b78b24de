#pragma once

#include <string>

// How the editor shows the stored numbers of a patch: channels from 1,
// octave and semitone around 0, curves from 1, notes with their names. One
// place for the editor's fields and for vorpadctl, so both say the same.
namespace DisplayValues {

enum class Form {
    Plain,     // as stored
    Channel,   // stored 0..15 shows as 1..16
    Octave,    // stored 0..8 shows as -4..+4
    Semitone,  // stored 0..127 shows as -64..+63
    Transpose, // a zone's transpose: stored 0..255 shows as -128..+127
    Curve,     // stored 0..7 shows as 1..8
    Note,      // a note number, shown with its name: "36 (C2)"
};

// shown = stored - offset(form).
int offset(Form form);
// Whether positive numbers carry a "+".
bool isSigned(Form form);

int shown(Form form, int stored);
int stored(Form form, int shown);

// The shown number as text: "+3", "-64", "5", "36 (C2)".
std::string text(Form form, int stored);
// value with a "+" before positive numbers.
std::string signedText(int value);
// The name of MIDI note 0..127, middle C (60) being "C4": "C-1" .. "G9".
std::string noteName(int note);

// A firmware revision as the controller reports it (four hexadecimal digits,
// "0107") in the form the updater writes it ("1.07"); other text as it is.
std::string firmwareText(const std::string &reported);

} // namespace DisplayValues

#pragma once

#include <QFont>

// The editor's text faces. The families the skin was drawn for are mapped to
// DejaVu faces (fontconfig would otherwise pick a proportional face for both).
namespace EditorFonts {

inline constexpr char EditorFamily[] = "Lucida Console";
inline constexpr char TitleFamily[] = "Verdana";

// Call once, before the first widget is built.
void installSubstitutions();

// The editor's font in 10, 7 or 8 points (the patch list uses 8).
QFont editorFont(int pointSize);

} // namespace EditorFonts

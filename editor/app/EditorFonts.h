#pragma once

#include "editor/app/deviceview/EditorFonts.h"

// The families the skin was drawn for are mapped to DejaVu faces (fontconfig
// would otherwise pick a proportional face for both).
namespace EditorFonts {

inline constexpr char TitleFamily[] = "Verdana";

// Call once, before the first widget is built.
void installSubstitutions();

} // namespace EditorFonts

#pragma once

#include <QFont>

// The editor's text face in its three sizes, and the title face. The families
// the skin was drawn for are mapped to DejaVu faces (fontconfig would otherwise
// pick a proportional face for both).
namespace EditorFonts {

inline constexpr char Family[] = "Lucida Console";
inline constexpr char TitleFamily[] = "Verdana";
inline constexpr int Large = 10;
inline constexpr int Small = 7;
inline constexpr int List = 8;

inline QFont font(int points) { return QFont(QLatin1String(Family), points); }

// Call once, before the first widget is built.
void installSubstitutions();

} // namespace EditorFonts

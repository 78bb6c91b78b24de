#pragma once

#include <QFont>

// The editor's text face in its three sizes; where the family is missing the
// application substitutes a monospaced face of its own choosing.
namespace EditorFonts {

inline constexpr char Family[] = "Lucida Console";
inline constexpr int Large = 10;
inline constexpr int Small = 7;
inline constexpr int List = 8;

inline QFont font(int points) { return QFont(QLatin1String(Family), points); }

} // namespace EditorFonts

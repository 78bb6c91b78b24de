#pragma once

#include <QString>

// Where the library lives: $XDG_DATA_HOME/vorpad/library.sqlite, and a file of
// its own beside it for a simulated session, so simulated patches never mix
// with the user's.
namespace LibraryLocation {

QString path(bool simulated);

} // namespace LibraryLocation

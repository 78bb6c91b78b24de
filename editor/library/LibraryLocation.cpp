#include "editor/library/LibraryLocation.h"

#include <QStandardPaths>

namespace LibraryLocation {

QString path(bool simulated)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vorpad/" +
           (simulated ? "simulated-library.sqlite" : "library.sqlite");
}

} // namespace LibraryLocation

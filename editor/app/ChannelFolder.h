#pragma once

#include <QString>

// Where the single-instance channel of this user lives: $XDG_RUNTIME_DIR
// when it is set, otherwise <temp>/vorpad-<uid>, created with mode 0700. A
// folder that is not a real directory owned by this user with no access for
// anyone else is refused, since another user could then pose as the running
// editor or read the file names handed to it.
namespace ChannelFolder {

struct Result {
    QString path;  // empty when refused
    QString error; // why it was refused
};

Result locate();

// The checks alone, for a folder that exists.
bool isPrivate(const QString &path, QString *why);

} // namespace ChannelFolder

#include "editor/app/ChannelFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace ChannelFolder {

bool isPrivate(const QString &path, QString *why)
{
    struct stat info {
    };
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &info) != 0) {
        *why = QStringLiteral("%1 does not exist").arg(path);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        *why = QStringLiteral("%1 is not a directory").arg(path);
        return false;
    }
    if (info.st_uid != ::getuid()) {
        *why = QStringLiteral("%1 belongs to another user").arg(path);
        return false;
    }
    if ((info.st_mode & 0777) != 0700) {
        *why = QStringLiteral("%1 has mode %2, not 0700").arg(path).arg(info.st_mode & 0777, 4, 8, QLatin1Char('0'));
        return false;
    }
    return true;
}

Result locate()
{
    Result result;
    QString path = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (path.isEmpty()) {
        path = QDir::tempPath() + QStringLiteral("/vorpad-%1").arg(::getuid());
        // An existing folder is kept as it is and checked below, whoever made it.
        ::mkdir(QFile::encodeName(path).constData(), 0700);
    }
    if (isPrivate(path, &result.error))
        result.path = path;
    return result;
}

} // namespace ChannelFolder

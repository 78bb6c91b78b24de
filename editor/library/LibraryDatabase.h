#pragma once

#include "editor/library/LibraryMigrations.h"

#include <QMetaObject>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <map>
#include <optional>

class QThread;

// What the library can do this session.
struct LibraryStatus {
    enum class Mode { Writable, ReadOnly, Unavailable };
    Mode mode = Mode::Writable;
    QString reason;     // why not writable, for the user
    QString movedAside; // where a corrupt file went, when one did
};

// The library file and its connections: one per thread (Qt SQL ties a
// connection to the thread that opened it), each opened on its thread's first
// use. The first open of the session decides, once, whether the file is
// writable: a corrupt file is renamed aside and replaced; a busy, locked,
// read-only or newer file is left alone and opened read-only.
class LibraryDatabase
{
public:
    LibraryDatabase(QString path, std::vector<LibraryMigration> migrations);
    ~LibraryDatabase();
    LibraryDatabase(const LibraryDatabase &) = delete;
    LibraryDatabase &operator=(const LibraryDatabase &) = delete;

    // The calling thread's connection; not open when the library is unavailable.
    QSqlDatabase connection();
    LibraryStatus status();
    const QString &path() const { return m_path; }

    // After a failed write: a full disk, a read-only file or a lost lock
    // make the library read-only for the rest of the session.
    void noteWriteFailure(const QSqlError &error);

    // The primary SQLite result code of an error (0 when there is none).
    static int sqliteCode(const QSqlError &error);

private:
    struct Connection {
        QString name;
        QMetaObject::Connection finished;
    };

    // All under m_mutex, for the calling thread.
    void decide();
    void openWritable();
    void becomeReadOnly(const QString &reason);
    bool moveAside();
    std::optional<QSqlDatabase> openConnection(bool readOnly);
    void forgetConnection();

    const QString m_path;
    const std::vector<LibraryMigration> m_migrations;
    const QString m_prefix; // of this object's connection names
    QMutex m_mutex;
    bool m_decided = false;
    // The folder takes no file: no writer can change the library, and SQLite
    // can read it only as an unchanging file (no shared-memory file to make).
    bool m_unchanging = false;
    LibraryStatus m_status;
    std::map<QThread *, Connection> m_connections;
};

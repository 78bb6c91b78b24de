#include "editor/library/LibraryDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>

namespace {

constexpr int BusyTimeoutMs = 5000;

// SQLite's primary result codes that decide what happens to the file.
constexpr int SqliteBusy = 5, SqliteLocked = 6, SqliteCorrupt = 11, SqliteNotADatabase = 26;

QString uniquePrefix()
{
    static std::atomic<int> next{0};
    return QString("vorpad-library-%1-").arg(next++);
}

enum class Health { Sound, Corrupt, Busy, Failed };

// The file's state at open: SQLite's own quick check, which reads every page
// of the tables and indexes without checking their contents against each other.
Health quickCheck(QSqlDatabase &db, QString &error)
{
    QSqlQuery query(db);
    if (query.exec("PRAGMA quick_check(1)") && query.next())
        return query.value(0).toString() == "ok" ? Health::Sound : Health::Corrupt;
    error = query.lastError().text();
    switch (LibraryDatabase::sqliteCode(query.lastError())) {
    case SqliteCorrupt:
    case SqliteNotADatabase:
        return Health::Corrupt;
    case SqliteBusy:
    case SqliteLocked:
        return Health::Busy;
    default:
        return Health::Failed;
    }
}

void dropConnection(const QString &name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

LibraryDatabase::LibraryDatabase(QString path, std::vector<LibraryMigration> migrations)
    : m_path(std::move(path)), m_migrations(std::move(migrations)), m_prefix(uniquePrefix())
{
}

LibraryDatabase::~LibraryDatabase()
{
    QMutexLocker lock(&m_mutex);
    for (auto &[thread, connection] : m_connections) {
        QObject::disconnect(connection.finished);
        QSqlDatabase::removeDatabase(connection.name);
    }
}

int LibraryDatabase::sqliteCode(const QSqlError &error) { return error.nativeErrorCode().toInt() & 0xff; }

QSqlDatabase LibraryDatabase::connection()
{
    QThread *thread = QThread::currentThread();
    QMutexLocker lock(&m_mutex);
    if (!m_decided)
        decide();
    if (auto it = m_connections.find(thread); it != m_connections.end())
        return QSqlDatabase::database(it->second.name, false);
    if (m_status.mode == LibraryStatus::Mode::Unavailable)
        return {};
    return openConnection(m_status.mode == LibraryStatus::Mode::ReadOnly).value_or(QSqlDatabase());
}

LibraryStatus LibraryDatabase::status()
{
    QMutexLocker lock(&m_mutex);
    if (!m_decided)
        decide();
    return m_status;
}

void LibraryDatabase::noteWriteFailure(const QSqlError &error)
{
    // Failures of the file, not of the statement (a constraint, a missing row).
    static constexpr int FileFaults[] = {SqliteBusy,    SqliteLocked,  8 /* read-only */,    10 /* I/O */,
                                         SqliteCorrupt, 13 /* full */, 14 /* cannot open */, SqliteNotADatabase};
    if (std::find(std::begin(FileFaults), std::end(FileFaults), sqliteCode(error)) == std::end(FileFaults))
        return;
    QMutexLocker lock(&m_mutex);
    if (m_status.mode != LibraryStatus::Mode::Writable)
        return;
    m_status.mode = LibraryStatus::Mode::ReadOnly;
    m_status.reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

std::optional<QSqlDatabase> LibraryDatabase::openConnection(bool readOnly)
{
    QThread *thread = QThread::currentThread();
    const QString name = m_prefix + QString::number(quintptr(thread), 16);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    const bool unchanging = readOnly && m_unchanging;
    db.setDatabaseName(unchanging ? QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + "?immutable=1" : m_path);
    db.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs) +
                         (readOnly ? ";QSQLITE_OPEN_READONLY" : "") + (unchanging ? ";QSQLITE_OPEN_URI" : ""));
    if (!db.open()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return std::nullopt;
    }
    QSqlQuery(db).exec("PRAGMA foreign_keys = ON");
    // In WAL mode a commit without a sync can be lost on power loss but never
    // corrupts the file; captures are cheap to repeat, edits must not wait.
    QSqlQuery(db).exec("PRAGMA synchronous = NORMAL");
    // A finished thread's connection goes with it, so a later thread at the
    // same address opens its own.
    const QMetaObject::Connection finished = QObject::connect(
        thread, &QThread::finished, thread,
        [this, thread] {
            QMutexLocker lock(&m_mutex);
            if (auto it = m_connections.find(thread); it != m_connections.end()) {
                dropConnection(it->second.name);
                m_connections.erase(it);
            }
        },
        Qt::DirectConnection);
    m_connections[thread] = {name, finished};
    return db;
}

void LibraryDatabase::forgetConnection()
{
    auto it = m_connections.find(QThread::currentThread());
    if (it == m_connections.end())
        return;
    QObject::disconnect(it->second.finished);
    dropConnection(it->second.name);
    m_connections.erase(it);
}

void LibraryDatabase::decide()
{
    m_decided = true;
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder)) {
        m_status = {LibraryStatus::Mode::Unavailable, "cannot create the folder " + folder, {}};
        return;
    }
    const bool folderWritable = QFileInfo(folder).isWritable();
    if (!file.exists() && !folderWritable) {
        m_status = {LibraryStatus::Mode::Unavailable, "the folder " + folder + " is read-only", {}};
        return;
    }
    m_unchanging = !folderWritable;
    if (!folderWritable || (file.exists() && !file.isWritable())) {
        becomeReadOnly("the library file or its folder is read-only");
        return;
    }
    openWritable();
}

void LibraryDatabase::openWritable()
{
    std::optional<QSqlDatabase> db = openConnection(false);
    if (!db) {
        becomeReadOnly("the library file cannot be opened for writing");
        return;
    }
    QString error;
    switch (quickCheck(*db, error)) {
    case Health::Sound:
        break;
    case Health::Corrupt:
        db.reset();
        forgetConnection();
        if (!moveAside()) {
            m_status = {LibraryStatus::Mode::Unavailable, "the library file is damaged and cannot be moved aside", {}};
            return;
        }
        db = openConnection(false);
        if (!db) {
            m_status = {LibraryStatus::Mode::Unavailable, "a new library file cannot be created", m_status.movedAside};
            return;
        }
        break;
    case Health::Busy:
        db.reset();
        becomeReadOnly("another program holds the library file");
        return;
    case Health::Failed:
        db.reset();
        becomeReadOnly(error);
        return;
    }
    QSqlQuery wal(*db);
    if (!wal.exec("PRAGMA journal_mode = WAL")) {
        wal.finish();
        db.reset();
        becomeReadOnly(wal.lastError().text());
        return;
    }
    wal.finish();
    switch (LibraryMigrations::run(*db, m_migrations, error)) {
    case LibraryMigrations::Result::Done:
        return;
    case LibraryMigrations::Result::Newer:
        db.reset();
        becomeReadOnly("the library file was written by a newer version of the program");
        return;
    case LibraryMigrations::Result::Failed:
        db.reset();
        becomeReadOnly(error);
        return;
    }
}

void LibraryDatabase::becomeReadOnly(const QString &reason)
{
    forgetConnection();
    m_status.mode = LibraryStatus::Mode::ReadOnly;
    m_status.reason = reason;
    std::optional<QSqlDatabase> db = openConnection(true);
    if (!db || LibraryMigrations::fileVersion(*db) < 0) {
        db.reset();
        forgetConnection();
        m_status.mode = LibraryStatus::Mode::Unavailable;
    }
}

bool LibraryDatabase::moveAside()
{
    const QString target = m_path + ".damaged-" + QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss");
    if (!QFile::rename(m_path, target))
        return false;
    QFile::rename(m_path + "-wal", target + "-wal");
    QFile::remove(m_path + "-shm");
    m_status.movedAside = target;
    return true;
}

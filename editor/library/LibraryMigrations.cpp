#include "editor/library/LibraryMigrations.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

const std::vector<LibraryMigration> &libraryMigrations()
{
    // Kinds: 0 patch, 1 bank. Times in milliseconds since the epoch, UTC.
    static const std::vector<LibraryMigration> migrations{
        {1,
         {
             "CREATE TABLE entry(id INTEGER PRIMARY KEY, kind INTEGER NOT NULL CHECK(kind IN (0, 1)),"
             " digest BLOB NOT NULL UNIQUE, name TEXT NOT NULL, patch BLOB, zones BLOB, settings BLOB,"
             " first_seen INTEGER NOT NULL, last_seen INTEGER NOT NULL,"
             " favourite INTEGER NOT NULL DEFAULT 0, note TEXT NOT NULL DEFAULT '')",
             "CREATE INDEX entry_by_last_seen ON entry(last_seen)",
             "CREATE TABLE bank_slot(bank INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " position INTEGER NOT NULL CHECK(position BETWEEN 0 AND 15),"
             " patch INTEGER NOT NULL REFERENCES entry(id), PRIMARY KEY(bank, position)) WITHOUT ROWID",
             "CREATE TABLE tag(entry INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " tag TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(entry, tag)) WITHOUT ROWID",
             "CREATE INDEX tag_by_name ON tag(tag)",
             "CREATE TABLE sighting(entry INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " source INTEGER NOT NULL, serial TEXT NOT NULL DEFAULT '', slot INTEGER NOT NULL DEFAULT -1,"
             " path TEXT NOT NULL DEFAULT '', seen INTEGER NOT NULL, UNIQUE(entry, source, serial, slot, path))",
         }},
    };
    return migrations;
}

namespace LibraryMigrations {

namespace {

bool exec(QSqlDatabase &db, const QString &statement, QString &error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    error = query.lastError().text();
    return false;
}

} // namespace

int fileVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec("PRAGMA user_version") && query.next() ? query.value(0).toInt() : -1;
}

Result run(QSqlDatabase &db, const std::vector<LibraryMigration> &migrations, QString &error)
{
    const int latest = migrations.empty() ? 0 : migrations.back().version;
    const int before = fileVersion(db);
    if (before == latest)
        return Result::Done;
    if (before > latest)
        return Result::Newer;
    if (!exec(db, "BEGIN IMMEDIATE", error))
        return Result::Failed;
    const int current = fileVersion(db); // again, under the write lock
    if (current > latest) {
        exec(db, "ROLLBACK", error);
        return Result::Newer;
    }
    for (const LibraryMigration &migration : migrations) {
        if (migration.version <= current)
            continue;
        for (const char *statement : migration.statements) {
            if (!exec(db, statement, error)) {
                QString ignored;
                exec(db, "ROLLBACK", ignored);
                return Result::Failed;
            }
        }
        exec(db, QString("PRAGMA user_version = %1").arg(migration.version), error);
    }
    return exec(db, "COMMIT", error) ? Result::Done : Result::Failed;
}

} // namespace LibraryMigrations

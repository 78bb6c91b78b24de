#include "editor/library/LibraryMigrations.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

// The text an entry is searched by, for the entry whose id is the expression.
#define SEARCHED_TEXT(id)                                                                                              \
    "((SELECT name || char(10) || note FROM entry WHERE id = " id ")"                                                  \
    " || coalesce(char(10) || (SELECT group_concat(tag, char(10)) FROM tag WHERE entry = " id "), ''))"

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
             // Newest first, with what a list shows: a search that reads many entries reads this alone.
             "CREATE INDEX entry_by_last_seen ON entry(last_seen, id, kind, name, first_seen, favourite, note)",
             "CREATE TABLE bank_slot(bank INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " position INTEGER NOT NULL CHECK(position BETWEEN 0 AND 15),"
             " patch INTEGER NOT NULL REFERENCES entry(id), PRIMARY KEY(bank, position)) WITHOUT ROWID",
             "CREATE TABLE tag(entry INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " tag TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(entry, tag)) WITHOUT ROWID",
             "CREATE INDEX tag_by_name ON tag(tag)",
             "CREATE TABLE sighting(entry INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
             " source INTEGER NOT NULL, serial TEXT NOT NULL DEFAULT '', slot INTEGER NOT NULL DEFAULT -1,"
             " path TEXT NOT NULL DEFAULT '', seen INTEGER NOT NULL, UNIQUE(entry, source, serial, slot, path))",
             // The searched text of each entry (name, note, tags, a line each) under a trigram index,
             // kept by triggers: a rare text is found without reading every entry.
             "CREATE VIRTUAL TABLE entry_text USING fts5(text, tokenize = 'trigram')",
             "CREATE TRIGGER entry_text_insert AFTER INSERT ON entry BEGIN"
             " INSERT INTO entry_text(rowid, text) VALUES (new.id, new.name || char(10) || new.note); END",
             "CREATE TRIGGER entry_text_update AFTER UPDATE OF name, note ON entry BEGIN"
             " UPDATE entry_text SET text = " SEARCHED_TEXT("new.id") " WHERE rowid = new.id; END",
             "CREATE TRIGGER entry_text_delete AFTER DELETE ON entry BEGIN"
             " DELETE FROM entry_text WHERE rowid = old.id; END",
             "CREATE TRIGGER tag_text_insert AFTER INSERT ON tag BEGIN"
             " UPDATE entry_text SET text = " SEARCHED_TEXT("new.entry") " WHERE rowid = new.entry; END",
             "CREATE TRIGGER tag_text_delete AFTER DELETE ON tag BEGIN"
             " UPDATE entry_text SET text = " SEARCHED_TEXT("old.entry") " WHERE rowid = old.entry; END",
         }},
    };
    return migrations;
}

#undef SEARCHED_TEXT

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

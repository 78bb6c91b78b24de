#pragma once

#include <QSqlDatabase>
#include <QString>

#include <vector>

// One step of the schema: the statements that bring a file from the version
// before it to this one.
struct LibraryMigration {
    int version;
    std::vector<const char *> statements;
};

// The schema this program writes, in order of version.
const std::vector<LibraryMigration> &libraryMigrations();

namespace LibraryMigrations {

enum class Result { Done, Newer, Failed };

// Brings the file to the last version of the list in one write transaction
// (so two processes opening a new file migrate it once); Newer when the file
// is past the list and left alone.
Result run(QSqlDatabase &db, const std::vector<LibraryMigration> &migrations, QString &error);

int fileVersion(QSqlDatabase &db);

} // namespace LibraryMigrations

#pragma once

#include "editor/library/LibraryDatabase.h"
#include "editor/library/LibraryTypes.h"

#include <functional>
#include <optional>
#include <vector>

// The patch library: patch and bank entries, one per distinct content, with
// where and when each was seen, a favourite mark, tags and a note. Every
// call may come from any thread; each thread uses a connection of its own.
// Writes are transactions that wait for another writer (the editor and
// vorpadctl share the file); a write that fails for want of room or rights
// leaves the library read-only for the session, as status() then says.
class PatchLibrary
{
public:
    explicit PatchLibrary(QString path, std::vector<LibraryMigration> migrations = libraryMigrations());

    LibraryStatus status() { return m_db.status(); }
    const QString &path() const { return m_db.path(); }

    // Keeps the captures in one transaction: the id of each one's entry, in
    // order, 0 for a capture whose images the model refuses; nothing (and
    // the reason) when the write fails.
    std::optional<std::vector<qint64>> add(const std::vector<Capture> &captures, QString *error = nullptr);

    std::vector<LibraryEntry> find(const LibraryQuery &query, QString *error = nullptr);
    std::optional<LibraryEntry> entry(qint64 id, QString *error = nullptr);
    qint64 count();

    bool addTags(qint64 id, const QStringList &tags, QString *error = nullptr);
    bool setFavourite(qint64 id, bool favourite, QString *error = nullptr);
    bool setNote(qint64 id, const QString &note, QString *error = nullptr);

    // Whether the model accepts the images, the rule every entry passed.
    static bool isValid(const Capture &capture);
    // The same bytes give the same digest, and so one entry.
    static QByteArray patchDigest(const PatchImages &images);

private:
    using Body = std::function<bool(QSqlDatabase &, QString &)>;
    bool write(const Body &body, QString *error);
    bool update(qint64 id, const QString &statement, const QVariant &value, QString *error);

    LibraryDatabase m_db;
};

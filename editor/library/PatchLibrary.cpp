#include "editor/library/PatchLibrary.h"

#include "editor/app/files/SysExFile.h"
#include "editor/core/PatchValues.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>

namespace {

QByteArray blob(const std::vector<Byte> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// A NULL of blob type for an absent image.
QVariant optionalBlob(const std::vector<Byte> &bytes)
{
    return bytes.empty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(blob(bytes));
}

// Qt binds a null string as NULL; the text columns are NOT NULL.
QVariant nonNull(const QString &value) { return value.isNull() ? QVariant(QString("")) : QVariant(value); }

std::vector<Byte> bytesOf(const QVariant &value)
{
    const QByteArray data = value.toByteArray();
    return {data.begin(), data.end()};
}

QDateTime fromMs(const QVariant &value) { return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC); }

void fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The text as one phrase of the trigram index: a substring, case-insensitive.
QString phrase(QString text) { return '"' + text.replace('"', "\"\"") + '"'; }

// Whether the trigram index finds the entries holding the text faster than
// reading the newest entries until a page is full: when they are few. A text
// under three characters has no trigram to look up.
bool hasFewMatches(QSqlDatabase &db, const QString &text)
{
    constexpr int Few = 2000;
    if (text.toUcs4().size() < 3)
        return false;
    QSqlQuery count(db);
    count.prepare("SELECT count(*) FROM (SELECT 1 FROM entry_text WHERE entry_text MATCH ? LIMIT ?)");
    count.addBindValue(phrase(text));
    count.addBindValue(Few + 1);
    return count.exec() && count.next() && count.value(0).toInt() <= Few;
}

// Whether any tag holds the pattern. Tags are few beside entries; without a
// match, a search that reads every entry is spared a lookup per entry.
bool anyTagLike(QSqlDatabase &db, const QString &pattern)
{
    QSqlQuery query(db);
    query.prepare("SELECT 1 FROM tag WHERE tag LIKE ? ESCAPE '\\' LIMIT 1");
    query.addBindValue(pattern);
    return !query.exec() || query.next();
}

// What a list shows of an entry: kind, name, first and last seen, favourite
// and note, in that order from the column `at`.
void readListed(const QSqlQuery &query, int at, LibraryEntry &e)
{
    e.kind = EntryKind(query.value(at).toInt());
    e.name = query.value(at + 1).toString();
    e.firstSeen = fromMs(query.value(at + 2));
    e.lastSeen = fromMs(query.value(at + 3));
    e.favourite = query.value(at + 4).toBool();
    e.note = query.value(at + 5).toString();
}

bool run(QSqlQuery &query, QString &error)
{
    if (query.exec())
        return true;
    error = query.lastError().text();
    return false;
}

// Writes one entry, or finds the one with the same digest and moves its last
// sighting on; its id.
struct EntryWriter {
    explicit EntryWriter(QSqlDatabase &db) : entry(db), id(db), sighting(db), slot(db)
    {
        entry.prepare("INSERT INTO entry(kind, digest, name, patch, zones, settings, first_seen, last_seen)"
                      " VALUES(?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(digest)"
                      " DO UPDATE SET last_seen = max(last_seen, excluded.last_seen)");
        id.prepare("SELECT id FROM entry WHERE digest = ?");
        sighting.prepare(
            "INSERT INTO sighting(entry, source, serial, slot, path, seen) VALUES(?, ?, ?, ?, ?, ?)"
            " ON CONFLICT(entry, source, serial, slot, path) DO UPDATE SET seen = max(seen, excluded.seen)");
        slot.prepare("INSERT OR REPLACE INTO bank_slot(bank, position, patch) VALUES(?, ?, ?)");
    }

    std::optional<qint64> write(EntryKind kind, const QByteArray &digest, const QString &name,
                                const std::vector<Byte> &patch, const std::vector<Byte> &zones,
                                const std::vector<Byte> &settings, const Sighting &seen, QString &error)
    {
        const qint64 when = seen.seen.toMSecsSinceEpoch();
        for (const QVariant &value : {QVariant(int(kind)), QVariant(digest), nonNull(name), optionalBlob(patch),
                                      optionalBlob(zones), optionalBlob(settings), QVariant(when), QVariant(when)})
            entry.addBindValue(value);
        id.addBindValue(digest);
        if (!run(entry, error) || !run(id, error) || !id.next())
            return std::nullopt;
        const qint64 entryId = id.value(0).toLongLong();
        id.finish();
        for (const QVariant &value : {QVariant(entryId), QVariant(int(seen.source)), nonNull(seen.serial),
                                      QVariant(seen.slot), nonNull(seen.path), QVariant(when)})
            sighting.addBindValue(value);
        if (!run(sighting, error))
            return std::nullopt;
        return entryId;
    }

    bool writeSlot(qint64 bank, int position, qint64 patch, QString &error)
    {
        slot.addBindValue(bank);
        slot.addBindValue(position);
        slot.addBindValue(patch);
        return run(slot, error);
    }

    QSqlQuery entry, id, sighting, slot;
};

std::optional<qint64> addOne(EntryWriter &writer, const Capture &capture, QString &error)
{
    std::vector<qint64> patchIds;
    QCryptographicHash bankDigest(QCryptographicHash::Sha256);
    bankDigest.addData(QByteArrayView("\x01", 1));
    bankDigest.addData(blob(capture.settings));
    for (std::size_t p = 0; p < capture.patches.size(); ++p) {
        const PatchImages &images = capture.patches[p];
        const QByteArray digest = PatchLibrary::patchDigest(images);
        bankDigest.addData(digest);
        Sighting seen = capture.sighting;
        if (capture.isBank())
            seen.slot = int(p);
        const std::optional<qint64> id =
            writer.write(EntryKind::Patch, digest, QString::fromStdString(PatchValues::patchName(images.patch)),
                         images.patch, images.zones, {}, seen, error);
        if (!id)
            return std::nullopt;
        patchIds.push_back(*id);
    }
    if (!capture.isBank())
        return patchIds.front();
    const std::optional<qint64> bank = writer.write(EntryKind::Bank, bankDigest.result(),
                                                    QString::fromStdString(PatchValues::bankName(capture.settings)), {},
                                                    {}, capture.settings, capture.sighting, error);
    if (!bank)
        return std::nullopt;
    for (std::size_t p = 0; p < patchIds.size(); ++p) {
        if (!writer.writeSlot(*bank, int(p), patchIds[p], error))
            return std::nullopt;
    }
    return bank;
}

QStringList tagsOf(QSqlDatabase &db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("SELECT tag FROM tag WHERE entry = ? ORDER BY tag");
    query.addBindValue(id);
    QStringList tags;
    if (query.exec()) {
        while (query.next())
            tags << query.value(0).toString();
    }
    return tags;
}

} // namespace

PatchLibrary::PatchLibrary(QString path, std::vector<LibraryMigration> migrations)
    : m_db(std::move(path), std::move(migrations))
{
}

QByteArray PatchLibrary::patchDigest(const PatchImages &images)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("\x00", 1));
    hash.addData(blob(images.patch));
    hash.addData(blob(images.zones));
    return hash.result();
}

bool PatchLibrary::isValid(const Capture &capture)
{
    const std::size_t wanted = capture.isBank() ? StoredPatchCount : 1;
    if (capture.patches.size() != wanted)
        return false;
    if (capture.isBank() && !SysExFile::isValidBankSettings(capture.settings))
        return false;
    for (const PatchImages &images : capture.patches) {
        if (!SysExFile::isValidPatchImage(images.patch) ||
            (!images.zones.empty() && !SysExFile::isValidZonesImage(images.zones)))
            return false;
    }
    return true;
}

bool PatchLibrary::write(const Body &body, QString *error)
{
    QSqlDatabase db = m_db.connection();
    const LibraryStatus status = m_db.status();
    if (status.mode != LibraryStatus::Mode::Writable) {
        fail(error, "the library is read-only: " + status.reason);
        return false;
    }
    QSqlQuery control(db);
    // IMMEDIATE takes the write lock up front, so a second writer waits for
    // it instead of failing when its read turns into a write.
    if (!control.exec("BEGIN IMMEDIATE")) {
        m_db.noteWriteFailure(control.lastError());
        fail(error, control.lastError().text());
        return false;
    }
    QString text;
    if (body(db, text) && control.exec("COMMIT"))
        return true;
    const QSqlError failure = control.lastError().isValid() ? control.lastError() : QSqlError(text, text);
    control.exec("ROLLBACK");
    if (LibraryDatabase::sqliteCode(failure) != 0)
        m_db.noteWriteFailure(failure);
    fail(error, text.isEmpty() ? failure.text() : text);
    return false;
}

std::optional<std::vector<qint64>> PatchLibrary::add(const std::vector<Capture> &captures, QString *error)
{
    std::vector<qint64> ids;
    const bool written = write(
        [&](QSqlDatabase &db, QString &text) {
            EntryWriter writer(db);
            for (const Capture &capture : captures) {
                if (!isValid(capture)) {
                    ids.push_back(0);
                    continue;
                }
                Capture stamped = capture;
                if (stamped.sighting.seen.isNull())
                    stamped.sighting.seen = QDateTime::currentDateTimeUtc();
                const std::optional<qint64> id = addOne(writer, stamped, text);
                if (!id)
                    return false;
                ids.push_back(*id);
            }
            return true;
        },
        error);
    return written ? std::optional(ids) : std::nullopt;
}

std::vector<LibraryEntry> PatchLibrary::find(const LibraryQuery &query, QString *error)
{
    QSqlDatabase db = m_db.connection();
    QString sql = "SELECT id, kind, name, first_seen, last_seen, favourite, note,"
                  " (SELECT group_concat(tag, char(31)) FROM (SELECT tag FROM tag WHERE entry = e.id ORDER BY tag))"
                  " FROM entry e WHERE 1";
    QVariantList values;
    if (!query.text.isEmpty()) {
        if (hasFewMatches(db, query.text)) {
            sql += " AND id IN (SELECT rowid FROM entry_text WHERE entry_text MATCH ?)";
            values << phrase(query.text);
        } else {
            QString pattern = query.text;
            pattern.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
            pattern = '%' + pattern + '%';
            sql += " AND (name LIKE ? ESCAPE '\\' OR note LIKE ? ESCAPE '\\'";
            values << pattern << pattern;
            if (anyTagLike(db, pattern)) {
                sql += " OR id IN (SELECT entry FROM tag WHERE tag LIKE ? ESCAPE '\\')";
                values << pattern;
            }
            sql += ')';
        }
    }
    if (!query.tag.isEmpty()) {
        sql += " AND EXISTS(SELECT 1 FROM tag t WHERE t.entry = e.id AND t.tag = ?)";
        values << query.tag;
    }
    if (query.favouritesOnly)
        sql += " AND favourite";
    sql += " ORDER BY last_seen DESC, id DESC LIMIT ? OFFSET ?";
    values << query.limit << query.offset;

    QSqlQuery select(db);
    select.setForwardOnly(true);
    select.prepare(sql);
    for (const QVariant &value : values)
        select.addBindValue(value);
    std::vector<LibraryEntry> out;
    if (!select.exec()) {
        fail(error, select.lastError().text());
        return out;
    }
    while (select.next()) {
        LibraryEntry e;
        e.id = select.value(0).toLongLong();
        readListed(select, 1, e);
        const QString tags = select.value(7).toString();
        if (!tags.isEmpty())
            e.tags = tags.split(QChar(31));
        out.push_back(std::move(e));
    }
    return out;
}

std::optional<LibraryEntry> PatchLibrary::entry(qint64 id, QString *error)
{
    QSqlDatabase db = m_db.connection();
    QSqlQuery select(db);
    select.prepare("SELECT kind, name, first_seen, last_seen, favourite, note, digest, patch, zones, settings"
                   " FROM entry WHERE id = ?");
    select.addBindValue(id);
    if (!select.exec() || !select.next()) {
        fail(error, select.lastError().isValid() ? select.lastError().text() : QString("no entry %1").arg(id));
        return std::nullopt;
    }
    LibraryEntry e;
    e.id = id;
    readListed(select, 0, e);
    e.digest = select.value(6).toByteArray();
    e.images = {bytesOf(select.value(7)), bytesOf(select.value(8))};
    e.settings = bytesOf(select.value(9));
    e.tags = tagsOf(db, id);

    QSqlQuery bankSlots(db);
    bankSlots.prepare("SELECT patch FROM bank_slot WHERE bank = ? ORDER BY position");
    bankSlots.addBindValue(id);
    if (bankSlots.exec()) {
        while (bankSlots.next())
            e.patchIds.push_back(bankSlots.value(0).toLongLong());
    }
    QSqlQuery seen(db);
    seen.prepare("SELECT source, serial, slot, path, seen FROM sighting WHERE entry = ? ORDER BY seen");
    seen.addBindValue(id);
    if (seen.exec()) {
        while (seen.next()) {
            e.sightings.push_back({Sighting::Source(seen.value(0).toInt()), seen.value(1).toString(),
                                   seen.value(2).toInt(), seen.value(3).toString(), fromMs(seen.value(4))});
        }
    }
    return e;
}

qint64 PatchLibrary::count()
{
    QSqlQuery query(m_db.connection());
    return query.exec("SELECT count(*) FROM entry") && query.next() ? query.value(0).toLongLong() : 0;
}

bool PatchLibrary::addTags(qint64 id, const QStringList &tags, QString *error)
{
    return write(
        [&](QSqlDatabase &db, QString &text) {
            QSqlQuery insert(db);
            insert.prepare("INSERT OR IGNORE INTO tag(entry, tag) VALUES(?, ?)");
            for (const QString &tag : tags) {
                insert.addBindValue(id);
                insert.addBindValue(nonNull(tag.trimmed()));
                if (!run(insert, text))
                    return false;
            }
            return true;
        },
        error);
}

bool PatchLibrary::update(qint64 id, const QString &statement, const QVariant &value, QString *error)
{
    return write(
        [&](QSqlDatabase &db, QString &text) {
            QSqlQuery query(db);
            query.prepare(statement);
            query.addBindValue(value);
            query.addBindValue(id);
            if (!run(query, text))
                return false;
            if (query.numRowsAffected() == 1)
                return true;
            text = QString("no entry %1").arg(id);
            return false;
        },
        error);
}

bool PatchLibrary::setFavourite(qint64 id, bool favourite, QString *error)
{
    return update(id, "UPDATE entry SET favourite = ? WHERE id = ?", favourite, error);
}

bool PatchLibrary::setNote(qint64 id, const QString &note, QString *error)
{
    return update(id, "UPDATE entry SET note = ? WHERE id = ?", nonNull(note), error);
}

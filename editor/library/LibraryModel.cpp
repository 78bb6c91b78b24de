#include "editor/library/LibraryModel.h"

#include "editor/library/PatchLibrary.h"

LibraryModel::LibraryModel(std::shared_ptr<PatchLibrary> library, QObject *parent)
    : QAbstractTableModel(parent), m_library(std::move(library))
{
    m_pool.setMaxThreadCount(1);
}

LibraryModel::~LibraryModel() { m_pool.waitForDone(); }

void LibraryModel::search(const LibraryQuery &query)
{
    const int generation = ++m_generation;
    m_pool.start([this, generation, query] {
        QString error;
        std::vector<LibraryEntry> rows = m_library->find(query, &error);
        QMetaObject::invokeMethod(
            this,
            [this, generation, rows = std::move(rows), error]() mutable {
                takeRows(generation, std::move(rows), error);
            },
            Qt::QueuedConnection);
    });
}

void LibraryModel::takeRows(int generation, std::vector<LibraryEntry> rows, const QString &error)
{
    if (generation != m_generation)
        return;
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    emit searchFinished(error);
}

int LibraryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int LibraryModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LibraryEntry &entry = entryAt(index.row());
    if (role == IdRole)
        return entry.id;
    if (role == FavouriteRole)
        return entry.favourite;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Name:
        return entry.name;
    case Kind:
        return entry.kind == EntryKind::Bank ? tr("Bank") : tr("Patch");
    case Tags:
        return entry.tags.join(", ");
    case LastSeen:
        return entry.lastSeen.toLocalTime();
    default:
        return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titles[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Kind"), QT_TR_NOOP("Tags"),
                                         QT_TR_NOOP("Last seen")};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}

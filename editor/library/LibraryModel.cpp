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
    {
        QMutexLocker lock(&m_handoverMutex);
        m_queries.push_back({++m_generation, query});
    }
    m_pool.start([this] { answerNext(); });
}

void LibraryModel::answerNext()
{
    Answer answer;
    LibraryQuery query;
    {
        QMutexLocker lock(&m_handoverMutex);
        answer.generation = m_queries.front().first;
        query = std::move(m_queries.front().second);
        m_queries.pop_front();
    }
    answer.rows = m_library->find(query, &answer.error);
    {
        QMutexLocker lock(&m_handoverMutex);
        m_answers.push_back(std::move(answer));
    }
    QMetaObject::invokeMethod(
        this, [this] { takeAnswer(); }, Qt::QueuedConnection);
}

void LibraryModel::takeAnswer()
{
    Answer answer;
    {
        QMutexLocker lock(&m_handoverMutex);
        answer = std::move(m_answers.front());
        m_answers.pop_front();
    }
    if (answer.generation != m_generation)
        return;
    beginResetModel();
    m_rows = std::move(answer.rows);
    endResetModel();
    emit searchFinished(answer.error);
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

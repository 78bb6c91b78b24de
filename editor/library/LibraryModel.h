#pragma once

#include "editor/library/LibraryTypes.h"

#include <QAbstractTableModel>
#include <QMutex>
#include <QThreadPool>

#include <deque>
#include <memory>
#include <utility>

class PatchLibrary;

// The library's entries as a table a view can show: name, kind, tags, last
// seen. search() runs the query on a thread of the model's own and replaces
// the rows when it returns, so typing in a search field never waits for the
// file; an answer overtaken by a newer search is dropped.
class LibraryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Kind, Tags, LastSeen, ColumnCount };
    static constexpr int IdRole = Qt::UserRole;
    static constexpr int FavouriteRole = Qt::UserRole + 1;

    explicit LibraryModel(std::shared_ptr<PatchLibrary> library, QObject *parent = nullptr);
    ~LibraryModel() override;

    void search(const LibraryQuery &query);
    const LibraryEntry &entryAt(int row) const { return m_rows[std::size_t(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void searchFinished(const QString &error);

private:
    struct Answer {
        int generation = 0;
        std::vector<LibraryEntry> rows;
        QString error;
    };
    void answerNext();
    void takeAnswer();

    std::shared_ptr<PatchLibrary> m_library;
    // Queries and answers cross between the threads through these queues: a
    // hand-over under a QMutex, which the thread sanitizer sees, unlike the
    // pool's and the event queue's own.
    QMutex m_handoverMutex;
    std::deque<std::pair<int, LibraryQuery>> m_queries;
    std::deque<Answer> m_answers;
    QThreadPool m_pool;
    std::vector<LibraryEntry> m_rows;
    int m_generation = 0; // the GUI thread's
};

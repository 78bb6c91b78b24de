#pragma once

#include "editor/library/LibraryTypes.h"

#include <QAbstractTableModel>
#include <QThreadPool>

#include <memory>

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
    void takeRows(int generation, std::vector<LibraryEntry> rows, const QString &error);

    std::shared_ptr<PatchLibrary> m_library;
    QThreadPool m_pool;
    std::vector<LibraryEntry> m_rows;
    int m_generation = 0;
};

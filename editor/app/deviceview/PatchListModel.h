#pragma once

#include "editor/core/Observer.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <vector>

class FileOperations;

namespace Brisel {
class RemoteControlManager;
}

// The bank's 16 stored patches as a table of number and name, modified ones
// in red. It reads the bank at every request and observes each slot and the
// current-patch number, so views follow the core without a copy of the bank.
class PatchListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // askPatchQuestion offers to store a modified active patch (it checks
    // whether the patch is modified itself).
    PatchListModel(Brisel::RemoteControlManager &manager, FileOperations &files, std::function<void()> askPatchQuestion,
                   QObject *parent = nullptr);
    ~PatchListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    // A patch file dropped on a row loads into that slot and becomes the
    // active patch.
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

signals:
    void patchSelectionChanged();
    // A dropped patch file was loaded.
    void fileLoaded(const QString &path);

private:
    void slotChanged(int slot);
    void currentPatchChanged();

    Brisel::RemoteControlManager &m_manager;
    FileOperations &m_files;
    std::function<void()> m_askPatchQuestion;
    std::vector<std::unique_ptr<Utils::ProxyMapObserver<PatchListModel, int>>> m_slotObservers;
    std::unique_ptr<Utils::ProxyObserver<PatchListModel>> m_currentObserver;
};

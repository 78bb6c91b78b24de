#pragma once

#include <QTableView>

#include <functional>
#include <memory>

class FileOperations;
class PatchListModel;
class QMenu;

namespace Brisel {
class RemoteControlManager;
}

// The patch list of the device view: a fixed 16-row table whose selection is
// the manager's current patch. Picking a row makes it the active patch,
// patches move up and down, and patch files dropped on a row load into it.
class PatchListWidget : public QTableView
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 14;
    static constexpr int NumberWidth = 24;
    static constexpr int NameWidth = 120;
    static constexpr int ListWidth = 148;

    PatchListWidget(Brisel::RemoteControlManager &manager, FileOperations &files,
                    std::function<void()> askPatchQuestion, QWidget *parent = nullptr);
    ~PatchListWidget() override;

    // The pop-up menu for a right click at a point of the viewport, or null
    // outside the rows.
    std::unique_ptr<QMenu> contextMenuAt(const QPoint &viewportPos);

public slots:
    void moveUp();
    void moveDown();
    // Selects the row of the manager's current patch.
    void patchSelectionChanged();

protected slots:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    Brisel::RemoteControlManager &m_manager;
    std::function<void()> m_askPatchQuestion;
    PatchListModel *m_model;
};

#include "editor/app/deviceview/PatchListWidget.h"

#include "editor/app/deviceview/FileDrop.h"
#include "editor/app/deviceview/LoadQueue.h"
#include "editor/app/deviceview/PatchListModel.h"
#include "editor/app/files/FileOperations.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/skin/StatusMessage.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

PatchListWidget::PatchListWidget(Brisel::RemoteControlManager &manager, FileOperations &files,
                                 std::function<void()> askPatchQuestion, QWidget *parent)
    : QTableView(parent)
    , m_manager(manager)
    , m_askPatchQuestion(askPatchQuestion)
    , m_model(new PatchListModel(manager, files, std::move(askPatchQuestion), this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAcceptDrops(true);
    // A dropped patch file replaces the patch of the row it lands on.
    setDragDropOverwriteMode(true);
    setDragDropMode(QAbstractItemView::DropOnly);

    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    setColumnWidth(0, NumberWidth);
    setColumnWidth(1, NameWidth);
    // All 16 rows fit, so the bars would only cover them.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedWidth(ListWidth);
    setFixedHeight(m_model->rowCount() * RowHeight + 4);

    connect(m_model, &PatchListModel::patchSelectionChanged, this, &PatchListWidget::patchSelectionChanged);
    connect(m_model, &PatchListModel::fileLoaded, this, [this, &files](const QString &path) {
        showStatusMessage(this, LoadQueue::loadedText(path, files.notice()));
    });
}

PatchListWidget::~PatchListWidget() = default;

void PatchListWidget::moveUp()
{
    const int slot = m_manager.currentPosition();
    if (slot >= 1 && slot < StoredPatchCount)
        m_manager.movePatchUp(slot);
}

void PatchListWidget::moveDown()
{
    const int slot = m_manager.currentPosition();
    if (slot >= 0 && slot < StoredPatchCount - 1)
        m_manager.movePatchDown(slot);
}

void PatchListWidget::patchSelectionChanged()
{
    const QModelIndex current = m_model->index(m_manager.currentPosition(), 0);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PatchListWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    viewport()->update();
}

void PatchListWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    const int row = current.row();
    if (!current.isValid() || row == m_manager.currentPosition())
        return;
    if (m_askPatchQuestion)
        m_askPatchQuestion();
    m_manager.selectPatch(row);
}

std::unique_ptr<QMenu> PatchListWidget::contextMenuAt(const QPoint &viewportPos)
{
    const int row = indexAt(viewportPos).row();
    if (row < 0)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    if (row > 0)
        menu->addAction(tr("Move Up"), this, &PatchListWidget::moveUp);
    if (row < m_model->rowCount() - 1)
        menu->addAction(tr("Move Down"), this, &PatchListWidget::moveDown);
    return menu;
}

void PatchListWidget::contextMenuEvent(QContextMenuEvent *event)
{
    if (std::unique_ptr<QMenu> menu = contextMenuAt(event->pos()))
        menu->exec(event->globalPos());
}

void PatchListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (draggedPatchFile(event->mimeData(), event->proposedAction()).isEmpty())
        event->ignore();
    else
        QTableView::dragEnterEvent(event);
}

void PatchListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    if (draggedPatchFile(event->mimeData(), event->proposedAction()).isEmpty())
        event->ignore();
    else
        QTableView::dragMoveEvent(event);
}

void PatchListWidget::dropEvent(QDropEvent *event)
{
    if (draggedPatchFile(event->mimeData(), event->proposedAction()).isEmpty()) {
        event->ignore();
        return;
    }
    QTableView::dropEvent(event);
    // Reading a file never consumes it: a move accepted here would tell the
    // drag's source to delete the user's file.
    if (event->isAccepted())
        event->setDropAction(Qt::CopyAction);
}

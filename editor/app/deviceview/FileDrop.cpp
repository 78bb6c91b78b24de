#include "editor/app/deviceview/FileDrop.h"

#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

bool copiesOrMoves(Qt::DropAction proposed) { return proposed == Qt::CopyAction || proposed == Qt::MoveAction; }

} // namespace

QString draggedBankFile(const QMimeData *data, Qt::DropAction proposed)
{
    if (!copiesOrMoves(proposed) || !data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return {};
    const QString path = urls.first().toLocalFile();
    return isBankFile(path) ? path : QString();
}

QString draggedPatchFile(const QMimeData *data, Qt::DropAction proposed)
{
    if (!copiesOrMoves(proposed) || !data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty())
        return {};
    const QString path = urls.first().toLocalFile();
    return isPatchFile(path) ? path : QString();
}

void BankFileDrop::dragEnter(QDragEnterEvent *event) const
{
    if (draggedBankFile(event->mimeData(), event->proposedAction()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void BankFileDrop::drop(QDropEvent *event) const
{
    const QString path = draggedBankFile(event->mimeData(), event->proposedAction());
    if (path.isEmpty() || !m_files.loadBankFile(path)) {
        event->ignore();
        return;
    }
    // Reading a file never consumes it: a move accepted here would tell the
    // drag's source to delete the user's file.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

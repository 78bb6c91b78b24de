#include "editor/app/deviceview/FileDrop.h"

#include "editor/app/deviceview/LoadQueue.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/skin/StatusMessage.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
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

void BankFileDrop::drop(QDropEvent *event, QWidget *target) const
{
    const QString path = draggedBankFile(event->mimeData(), event->proposedAction());
    FileOperations &files = m_files;
    const QPointer<QWidget> receiver(target);
    const auto load = [&files, path, receiver] {
        const bool loaded = files.loadBankFile(path);
        if (loaded && receiver)
            showStatusMessage(receiver, LoadQueue::loadedText(path, files.notice()));
        return loaded;
    };
    if (path.isEmpty() || !LoadQueue::instance().request(load).value_or(true)) {
        event->ignore();
        return;
    }
    // Reading a file never consumes it: a move accepted here would tell the
    // drag's source to delete the user's file.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

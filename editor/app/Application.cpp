#include "editor/app/Application.h"

#include "editor/app/EditorFiles.h"
#include "editor/app/LoadFileEvent.h"
#include "editor/app/UnsavedWork.h"

#include <QFileInfo>
#include <QFileOpenEvent>
#include <QSessionManager>

Application::Application(const QString &identifier, int &argc, char **argv) : SingleApplication(identifier, argc, argv)
{
    connect(this, &QGuiApplication::commitDataRequest, this, &Application::commitData, Qt::DirectConnection);
}

void Application::handleMessage(const QString &message)
{
    // Whatever exists is opened, so that a FIFO or a folder is refused with the
    // file's invalid message rather than passed over in silence.
    if (!message.isEmpty() && QFileInfo::exists(message))
        postEvent(this, new LoadFileEvent(message));
}

void Application::customEvent(QEvent *event)
{
    if (event->type() == LoadFileEvent::EventType) {
        EditorFiles::open(static_cast<LoadFileEvent *>(event)->path());
        return;
    }
    SingleApplication::customEvent(event);
}

bool Application::event(QEvent *event)
{
    if (event->type() == QEvent::FileOpen) {
        EditorFiles::open(static_cast<QFileOpenEvent *>(event)->file());
        event->accept();
        return true;
    }
    return SingleApplication::event(event);
}

void Application::commitData(QSessionManager &manager)
{
    if (manager.allowsInteraction()) {
        UnsavedWork::askBoth();
        manager.release();
    }
}

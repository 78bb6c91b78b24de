#include "editor/app/EditorFiles.h"

#include "editor/app/DeviceSession.h"
#include "editor/app/EditorLibrary.h"
#include "editor/app/MessageParent.h"
#include "editor/app/UnsavedWork.h"
#include "editor/app/deviceview/LoadQueue.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileOperations.h"
#include "editor/core/RemoteControlManager.h"

#include <QMessageBox>

namespace {

class MessageBoxFeedback : public FileFeedback
{
public:
    void reportInvalidFile(const QString &text) override
    {
        QMessageBox::critical(MessageParent::get(), QString(), text, QMessageBox::Ok);
    }
    void reportNotice(const QString &text) override { DeviceSession::showStatus(text); }
    void reportLoadFailure(const QString &text) override
    {
        DeviceSession::showStatus(text);
        QMessageBox::warning(MessageParent::get(), QString(), text, QMessageBox::Ok);
    }
    bool askToSaveBank() override { return UnsavedWork::askBankQuestion(); }
};

} // namespace

namespace EditorFiles {

FileOperations &instance()
{
    static MessageBoxFeedback feedback;
    static FileOperations files(Brisel::RemoteControlManager::instance(), feedback);
    return files;
}

bool open(const QString &path)
{
    return LoadQueue::instance()
        .request([path] {
            const bool loaded = instance().openFile(path);
            if (loaded)
                DeviceSession::showStatus(LoadQueue::loadedText(path, instance().notice()));
            return loaded;
        })
        .value_or(true);
}

} // namespace EditorFiles

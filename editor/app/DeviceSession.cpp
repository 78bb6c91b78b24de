#include "editor/app/DeviceSession.h"

#include "editor/app/EditorLibrary.h"

#include "editor/app/MessageParent.h"
#include "editor/app/revert/RevertManager.h"
#include "editor/core/RemoteControlManager.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStatusBar>

namespace DeviceSession {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("DeviceSession", text); }

struct State {
    QString status;
};

State &state()
{
    static State s;
    return s;
}

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QString nameOf(const Brisel::DeviceRecord &record) { return QString::fromStdString(record.name); }

} // namespace

QString downloadStatus(const QString &deviceName, int answered)
{
    constexpr int all = Brisel::RemoteControlManager::DownloadRequestCount;
    if (answered >= all)
        return tr("Connected to %1").arg(deviceName);
    return tr("%1 answered %2 of the %3 requests; the editor keeps its values. Select the device again to retry.")
        .arg(deviceName)
        .arg(answered)
        .arg(all);
}

bool select(const Brisel::DeviceRecord &record)
{
    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
    bool selected = false;
    {
        WaitCursor wait;
        selected = RevertManager::instance().selectDeviceAndBackUp(record);
    }
    if (!manager.isConnected()) {
        showStatus(record.isEmpty() || selected ? tr("No device connected")
                                                : tr("%1 could not be connected").arg(nameOf(record)));
        return selected;
    }
    showStatus(downloadStatus(nameOf(record), manager.lastDownloadAnswered()));
    if (manager.lastDownloadAnswered() >= Brisel::RemoteControlManager::DownloadRequestCount)
        EditorLibrary::instance().bankDownloaded();
    return selected;
}

bool download()
{
    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
    if (!manager.isConnected())
        return false;
    bool complete = false;
    {
        WaitCursor wait;
        complete = manager.downloadAll();
    }
    showStatus(downloadStatus(nameOf(manager.currentDevice()), manager.lastDownloadAnswered()));
    if (complete)
        EditorLibrary::instance().bankDownloaded();
    return complete;
}

void showStatus(const QString &text)
{
    state().status = text;
    if (auto *window = qobject_cast<QMainWindow *>(MessageParent::get()))
        window->statusBar()->showMessage(text);
}

QString lastStatus() { return state().status; }

} // namespace DeviceSession

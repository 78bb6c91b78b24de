#include "editor/app/deviceview/LoadQueue.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <memory>

LoadQueue &LoadQueue::instance()
{
    static LoadQueue queue;
    return queue;
}

std::optional<bool> LoadQueue::request(std::function<bool()> load)
{
    auto result = std::make_shared<std::optional<bool>>();
    m_pending.push_back([load = std::move(load), result] { *result = load(); });
    drain();
    return *result;
}

void LoadQueue::drain()
{
    // A request made inside a running load's questions waits for the loop
    // below, which reaches it once that load has ended.
    if (m_running)
        return;
    while (!m_pending.empty()) {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (m_modal != modal) {
                m_modal = modal;
                modal->installEventFilter(this);
                connect(modal, &QObject::destroyed, this, &LoadQueue::drainLater);
            }
            return;
        }
        std::function<void()> load = std::move(m_pending.front());
        m_pending.pop_front();
        m_running = true;
        load();
        m_running = false;
    }
}

QString LoadQueue::loadedText(const QString &path, const QString &notice)
{
    const QString loaded = QCoreApplication::translate("LoadQueue", "Loaded %1").arg(QDir::toNativeSeparators(path));
    return notice.isEmpty() ? loaded : loaded + QStringLiteral(". ") + notice;
}

void LoadQueue::drainLater() { QTimer::singleShot(0, this, &LoadQueue::drain); }

bool LoadQueue::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_modal && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        disconnect(watched, &QObject::destroyed, this, &LoadQueue::drainLater);
        m_modal = nullptr;
        drainLater();
    }
    return QObject::eventFilter(watched, event);
}

#pragma once

#include "editor/app/SingleInstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <deque>
#include <ostream>
#include <thread>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

// Answers the modal dialogs that code under test opens: message boxes with
// the queued buttons (No when the queue is empty), every other dialog (the
// file dialogs) with reject. Records what each message box said.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::deque<QMessageBox::StandardButton> answers = {}) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::answer);
        m_timer.start(5);
    }

    QStringList texts;
    QStringList titles;
    int otherDialogs = 0;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            titles.append(box->windowTitle());
            texts.append(box->text());
            QMessageBox::StandardButton button = QMessageBox::No;
            if (!m_answers.empty()) {
                button = m_answers.front();
                m_answers.pop_front();
            }
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->reject();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            ++otherDialogs;
            dialog->reject();
        }
    }

    std::deque<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

// Removes every per-user setting of the editor.
inline void clearSettings()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

// Sends from another thread, so that the running instance in this thread can
// answer while the sender waits.
inline bool sendFromThread(const QString &identifier, const QString &message, int timeoutMs)
{
    std::atomic<bool> done{false};
    bool delivered = false;
    std::thread sender([&] {
        delivered = SingleInstance(identifier).sendMessage(message, timeoutMs);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    sender.join();
    return delivered;
}

inline void storeSetting(const char *key, const QVariant &value)
{
    QSettings settings;
    settings.setValue(QLatin1String(key), value);
    settings.sync();
}

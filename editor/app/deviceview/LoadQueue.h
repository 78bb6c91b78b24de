#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <optional>

class QWidget;

// Loads of files handed over, dropped or chosen, one at a time. A question, a
// file dialog or any other modal window runs an event loop of its own, and a
// load started inside it would change the bank under the question that is
// being answered; such a load waits until the window has closed and every
// load before it has ended, then asks its own questions.
class LoadQueue : public QObject
{
public:
    // The process's queue, for the program's windows and its hand-overs.
    static LoadQueue &instance();

    // Runs the load at once when nothing is loading and no modal window is
    // open, and gives its result; otherwise runs it later, in the order of the
    // requests, and gives nothing.
    std::optional<bool> request(std::function<bool()> load);
    int pending() const { return int(m_pending.size()); }

    // What the status bar says after a file was loaded, with what the load
    // noticed (FileOperations::notice).
    static QString loadedText(const QString &path, const QString &notice = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drain();
    void drainLater();

    std::deque<std::function<void()>> m_pending;
    bool m_running = false;
    QPointer<QWidget> m_modal;
};

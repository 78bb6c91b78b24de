#pragma once

#include "editor/library/LibraryTypes.h"

#include <QMutex>
#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <deque>
#include <memory>
#include <utility>

class PatchLibrary;

// Keeps captures on a thread of its own, in the order they were made, so a
// capture never delays the thread that made it. Tells the user once when
// the library cannot be written, and once when a damaged file was moved aside.
class LibraryWriter : public QObject
{
    Q_OBJECT

public:
    explicit LibraryWriter(std::shared_ptr<PatchLibrary> library, QObject *parent = nullptr);
    ~LibraryWriter() override;

    // doneText, when given, is the notice once the capture is written.
    void capture(Capture capture, const QString &doneText = {});
    // Waits until every capture made so far is written; for tests and exit.
    void waitForDone();

    const std::shared_ptr<PatchLibrary> &library() const { return m_library; }

signals:
    // A sentence for the status bar; each kind of notice comes once a session.
    void notice(const QString &text);
    void captured(qint64 id);

private:
    void writeNext();
    void write(const Capture &capture, const QString &doneText);
    void tellOnce(std::atomic_bool &told, const QString &text);

    std::shared_ptr<PatchLibrary> m_library;
    // The captures reach the pool's thread through this queue: a hand-over
    // under a QMutex, which the thread sanitizer sees, unlike the pool's own.
    QMutex m_queueMutex;
    std::deque<std::pair<Capture, QString>> m_queue;
    QThreadPool m_pool;
    // The pool may run its tasks on successive threads.
    std::atomic_bool m_toldFailure = false;
    std::atomic_bool m_toldMoved = false;
};

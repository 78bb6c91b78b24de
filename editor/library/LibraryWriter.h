#pragma once

#include "editor/library/LibraryTypes.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

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
    void write(const Capture &capture, const QString &doneText);
    void tellOnce(bool &told, const QString &text);

    std::shared_ptr<PatchLibrary> m_library;
    QThreadPool m_pool;
    bool m_toldFailure = false; // writer thread only
    bool m_toldMoved = false;
};

#include "editor/library/LibraryWriter.h"

#include "editor/library/PatchLibrary.h"

LibraryWriter::LibraryWriter(std::shared_ptr<PatchLibrary> library, QObject *parent)
    : QObject(parent), m_library(std::move(library))
{
    m_pool.setMaxThreadCount(1); // one writer keeps the captures in order
}

LibraryWriter::~LibraryWriter() { m_pool.waitForDone(); }

void LibraryWriter::capture(Capture capture, const QString &doneText)
{
    {
        QMutexLocker lock(&m_queueMutex);
        m_queue.emplace_back(std::move(capture), doneText);
    }
    m_pool.start([this] { writeNext(); });
}

void LibraryWriter::writeNext()
{
    std::pair<Capture, QString> next;
    {
        QMutexLocker lock(&m_queueMutex);
        next = std::move(m_queue.front());
        m_queue.pop_front();
    }
    write(next.first, next.second);
}

void LibraryWriter::waitForDone() { m_pool.waitForDone(); }

void LibraryWriter::write(const Capture &capture, const QString &doneText)
{
    QString error;
    const std::optional<std::vector<qint64>> ids = m_library->add({capture}, &error);
    const LibraryStatus status = m_library->status();
    if (!status.movedAside.isEmpty())
        tellOnce(m_toldMoved,
                 tr("The library was damaged; it was moved to %1 and a new one started").arg(status.movedAside));
    if (!ids) {
        tellOnce(m_toldFailure, tr("The library is read-only (%1); editing goes on").arg(error));
        return;
    }
    if (ids->front() == 0)
        return;
    const qint64 id = ids->front();
    QMetaObject::invokeMethod(
        this,
        [this, id, doneText] {
            if (!doneText.isEmpty())
                emit notice(doneText);
            emit captured(id);
        },
        Qt::QueuedConnection);
}

void LibraryWriter::tellOnce(std::atomic_bool &told, const QString &text)
{
    if (told.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this, [this, text] { emit notice(text); }, Qt::QueuedConnection);
}

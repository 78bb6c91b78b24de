#include "editor/app/EditorLibrary.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/EditorSession.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/SysExFile.h"
#include "editor/app/revert/RevertManager.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/library/LibraryImport.h"
#include "editor/library/LibraryLocation.h"
#include "editor/library/LibraryWriter.h"
#include "editor/library/PatchLibrary.h"

#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace {

Brisel::RemoteControlManager &manager() { return Brisel::RemoteControlManager::instance(); }

// The host learns no serial number; the name and device ID tell controllers apart.
Sighting onController(int slot)
{
    const Brisel::DeviceRecord &device = manager().currentDevice();
    return {Sighting::Source::Controller,
            QString::fromStdString(device.name) + " #" + QString::number(device.deviceId),
            slot,
            {},
            {}};
}

PatchImages imagesOf(const Brisel::Patch &patch)
{
    return {{patch.patchImage().begin(), patch.patchImage().end()},
            {patch.zonesImage().begin(), patch.zonesImage().end()}};
}

} // namespace

EditorLibrary &EditorLibrary::instance()
{
    static EditorLibrary *library = new EditorLibrary; // lives as long as the process's manager
    return *library;
}

EditorLibrary::~EditorLibrary() = default;

void EditorLibrary::attach(QWidget *window)
{
    EditorFiles::instance().setCapture(&instance());
    RevertManager::instance().setCapture(&instance());
    instance().m_attached = true;
    if (window) {
        instance().m_waitingForPaint = true;
        window->installEventFilter(&instance());
    }
}

bool EditorLibrary::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && m_waitingForPaint) {
        m_waitingForPaint = false;
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &EditorLibrary::flush);
    }
    return QObject::eventFilter(watched, event);
}

void EditorLibrary::flush()
{
    std::vector<std::pair<Capture, QString>> pending = std::move(m_pending);
    for (auto &[capture, doneText] : pending)
        this->capture(std::move(capture), doneText);
}

bool EditorLibrary::enabled() const { return m_attached && AppSettings::libraryCapture(); }

void EditorLibrary::capture(Capture capture, const QString &doneText)
{
    if (m_waitingForPaint) {
        m_pending.emplace_back(std::move(capture), doneText);
        return;
    }
    // The session's file; a new one when the session's data folder changed.
    const QString path = LibraryLocation::path(EditorSession::isSimulated());
    if (!m_writer || m_writer->library()->path() != path) {
        m_writer = std::make_unique<LibraryWriter>(std::make_shared<PatchLibrary>(path));
        connect(m_writer.get(), &LibraryWriter::notice, this,
                [](const QString &text) { DeviceSession::showStatus(text); });
    }
    m_writer->capture(std::move(capture), doneText);
}

Capture EditorLibrary::slotCapture(int position) const
{
    Capture capture;
    capture.patches.push_back(imagesOf(manager().bank().patch(position)));
    capture.sighting = onController(position);
    return capture;
}

Capture EditorLibrary::bankCapture() const
{
    const Brisel::Bank &bank = manager().bank();
    Capture capture;
    capture.settings = bank.settings();
    for (int p = 0; p < StoredPatchCount; ++p)
        capture.patches.push_back(imagesOf(bank.patch(p)));
    capture.sighting = onController(-1);
    return capture;
}

void EditorLibrary::replacing(int position)
{
    if (!enabled())
        return;
    if (position == WholeBank)
        capture(bankCapture(), tr("Bank replaced; the previous bank is in the library"));
    else
        capture(slotCapture(position), tr("Slot %1 replaced; the previous patch is in the library").arg(position + 1));
}

void EditorLibrary::captureFile(const QString &path)
{
    if (!enabled())
        return;
    const std::optional<std::vector<Byte>> bytes = SysExFile::readAll(path);
    std::optional<Capture> content = bytes ? LibraryImport::captureOf(*bytes, QFileInfo(path).suffix()) : std::nullopt;
    if (!content)
        return;
    content->sighting = {Sighting::Source::File, {}, -1, QFileInfo(path).absoluteFilePath(), {}};
    capture(std::move(*content));
}

void EditorLibrary::fileLoaded(const QString &path) { captureFile(path); }

void EditorLibrary::fileSaved(const QString &path) { captureFile(path); }

void EditorLibrary::bankDownloaded()
{
    if (enabled() && manager().isConnected())
        capture(bankCapture());
}

void EditorLibrary::patchStored(int position)
{
    if (enabled() && position >= 0 && position < StoredPatchCount)
        capture(slotCapture(position));
}

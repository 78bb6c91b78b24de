#include "editor/app/EditorLibrary.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/SysExFile.h"
#include "editor/app/revert/RevertManager.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/library/LibraryImport.h"
#include "editor/library/LibraryLocation.h"
#include "editor/library/LibraryWriter.h"
#include "editor/library/PatchLibrary.h"
#include "platform/MidiSelection.h"

#include <QFileInfo>

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

void EditorLibrary::attach()
{
    EditorFiles::instance().setCapture(&instance());
    RevertManager::instance().setCapture(&instance());
}

bool EditorLibrary::sessionIsSimulated() { return Platform::simulatedPlatform() != nullptr; }

bool EditorLibrary::enabled() const { return AppSettings::libraryCapture(); }

void EditorLibrary::capture(Capture capture, const QString &doneText)
{
    if (!m_writer) {
        m_writer = std::make_unique<LibraryWriter>(
            std::make_shared<PatchLibrary>(LibraryLocation::path(sessionIsSimulated())));
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
    const std::optional<QByteArray> bytes = SysExFile::readAll(path);
    std::optional<Capture> content =
        bytes ? LibraryImport::captureOf(SysExFile::bytesOf(*bytes), QFileInfo(path).suffix()) : std::nullopt;
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

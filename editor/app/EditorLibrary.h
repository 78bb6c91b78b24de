#pragma once

#include "editor/app/files/FileCapture.h"
#include "editor/library/LibraryTypes.h"

#include <QObject>

#include <memory>

class LibraryWriter;

// The editor's capture into the patch library: banks downloaded, patches
// stored, files loaded and saved, backups restored, and before a load what
// it replaces. The library is opened on the first capture, on the writer's
// thread, never before the window has shown; the status bar says what a
// replacement kept and, once, when the library cannot be written.
class EditorLibrary : public QObject, public FileCapture
{
    Q_OBJECT

public:
    static EditorLibrary &instance();
    // Captures the editor's file loads and saves and its backup restores
    // from now on (unless the preference is off). Opens nothing.
    static void attach();

    // Whether this session's captures go to the simulated session's library.
    static bool sessionIsSimulated();

    void replacing(int position) override;
    void fileLoaded(const QString &path) override;
    void fileSaved(const QString &path) override;
    void bankDownloaded();
    void patchStored(int position);

    // Null until the first capture.
    LibraryWriter *writer() const { return m_writer.get(); }

private:
    EditorLibrary() = default;
    ~EditorLibrary() override;
    bool enabled() const;
    void capture(Capture capture, const QString &doneText = {});
    void captureFile(const QString &path);
    Capture bankCapture() const;
    Capture slotCapture(int position) const;

    std::unique_ptr<LibraryWriter> m_writer;
};

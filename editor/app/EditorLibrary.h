#pragma once

#include "editor/app/files/FileCapture.h"
#include "editor/library/LibraryTypes.h"

#include <QObject>

#include <memory>
#include <utility>
#include <vector>

class LibraryWriter;
class QWidget;

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
    // Starts the capture (unless the preference is off): downloads, stores,
    // the editor's file loads and saves and its backup restores. Opens
    // nothing: with a window, captures wait until its first paint.
    static void attach(QWidget *window = nullptr);

    void replacing(int position) override;
    void fileLoaded(const QString &path) override;
    void fileSaved(const QString &path) override;
    void bankDownloaded();
    void patchStored(int position);

    // Null until the first capture.
    LibraryWriter *writer() const { return m_writer.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EditorLibrary() = default;
    ~EditorLibrary() override;
    bool enabled() const;
    void capture(Capture capture, const QString &doneText = {});
    void captureFile(const QString &path);
    Capture bankCapture() const;
    Capture slotCapture(int position) const;

    void flush();

    std::unique_ptr<LibraryWriter> m_writer;
    bool m_attached = false; // nothing is captured before attach()
    bool m_waitingForPaint = false;
    std::vector<std::pair<Capture, QString>> m_pending; // while waiting
};

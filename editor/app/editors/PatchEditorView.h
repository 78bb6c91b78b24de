#pragma once

#include <QWidget>

#include <memory>

class HandlerList;

namespace Brisel {
class RemoteControlManager;
}

class PatchEditorViewPrivate;

// The "Patch" tab: every setting of the active patch on one bitmap panel,
// edited live.
class PatchEditorView : public QWidget
{
    Q_OBJECT

public:
    explicit PatchEditorView(Brisel::RemoteControlManager &manager, QWidget *parent = nullptr);
    // On the process-wide manager.
    explicit PatchEditorView(QWidget *parent = nullptr);
    ~PatchEditorView() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    HandlerList &handlers();

public slots:
    void onStorePatch() {}
    // Shows the whole active patch again (a patch was selected, loaded or received).
    void refresh();

private:
    std::unique_ptr<PatchEditorViewPrivate> d;
};

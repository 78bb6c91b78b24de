#pragma once

#include <QWidget>

#include <memory>

class HandlerList;

namespace Brisel {
class RemoteControlManager;
}

class ZonesEditorViewPrivate;

// The "Zones" tab: the keyboard split of the active patch as a graphic and
// four columns of zone settings.
class ZonesEditorView : public QWidget
{
    Q_OBJECT

public:
    explicit ZonesEditorView(Brisel::RemoteControlManager &manager, QWidget *parent = nullptr);
    explicit ZonesEditorView(QWidget *parent = nullptr);
    ~ZonesEditorView() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    HandlerList &handlers();

public slots:
    void onStorePatch() {}
    void refresh();

private:
    std::unique_ptr<ZonesEditorViewPrivate> d;
};

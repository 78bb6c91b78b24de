#pragma once

#include "editor/core/Observer.h"
#include "editor/core/model/PatchTypes.h"

#include <QObject>

#include <vector>

class QWidget;

namespace Brisel {
class RemoteControlManager;
}

// Undo and redo over the edits of the active patch. A step is what changed
// between two quiet moments: one committed field, one button, or one press to
// release of a knob or wheel. Restoring a step goes to the controller like
// any other edit; a whole-patch change (another patch, a file, a refresh,
// another device) forgets the history.
class EditHistory : public QObject
{
    Q_OBJECT

public:
    // The oldest steps are forgotten beyond this many.
    static constexpr int MaxSteps = 500;

    explicit EditHistory(Brisel::RemoteControlManager &manager, QObject *parent = nullptr);
    ~EditHistory() override;

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoCount() const { return int(m_undo.size()); }
    // Records, at each release, what a view's knobs and wheels changed while held.
    void watch(QWidget *view);

public slots:
    void undo();
    void redo();
    // Makes what changed since the last step one step (nothing when it ends
    // where it began).
    void commit();
    void clear();

signals:
    void changed();

private:
    struct Images {
        std::vector<Byte> patch;
        std::vector<Byte> zones;
        bool operator==(const Images &) const = default;
    };
    struct Step {
        Images before;
        Images after;
    };

    Images current() const;
    void restore(const Images &images);
    void paramChanged();
    void wholeChanged();

    Brisel::RemoteControlManager &m_manager;
    Images m_committed;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    bool m_restoring = false;
    Utils::ProxyObserver<EditHistory> m_paramObserver;
    Utils::ProxyObserver<EditHistory> m_wholeObserver;
};

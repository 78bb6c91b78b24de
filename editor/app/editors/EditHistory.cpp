#include "editor/app/editors/EditHistory.h"

#include "editor/app/editors/EditorWidgets.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/RemoteControlManager.h"

#include <QWidget>

#include <string>

namespace {

// Every parameter of the active patch that a view may bind to by itself.
std::vector<Brisel::Param *> paramsOf(Brisel::ActivePatch &active)
{
    std::vector<Brisel::Param *> params{&active.name()};
    for (Brisel::Param *param : active.settings().params())
        params.push_back(param);
    for (Brisel::Param *param : active.zones().params())
        params.push_back(param);
    return params;
}

std::string valueOf(const Brisel::Param *param)
{
    if (const auto *scalar = dynamic_cast<const Brisel::ScalarParam *>(param))
        return std::to_string(scalar->value());
    if (const auto *text = dynamic_cast<const Brisel::StringParam *>(param))
        return text->value();
    return {};
}

} // namespace

EditHistory::EditHistory(Brisel::RemoteControlManager &manager, QObject *parent)
    : QObject(parent)
    , m_manager(manager)
    , m_paramObserver(this, &EditHistory::paramChanged)
    , m_wholeObserver(this, &EditHistory::wholeChanged)
{
    Brisel::ActivePatch &active = manager.activePatch();
    active.name().subject().attach(&m_paramObserver);
    for (Brisel::Param *param : active.settings().params())
        param->subject().attach(&m_paramObserver);
    for (Brisel::Param *param : active.zones().params())
        param->subject().attach(&m_paramObserver);
    active.settings().imageSubject().attach(&m_wholeObserver);
    active.zones().imageSubject().attach(&m_wholeObserver);
    manager.connection().changed().attach(&m_wholeObserver);
    m_committed = current();
}

EditHistory::~EditHistory() = default;

void EditHistory::watch(QWidget *view)
{
    for (Knob *knob : view->findChildren<Knob *>())
        connect(knob, &Knob::editFinished, this, &EditHistory::commit);
    for (Wheel *wheel : view->findChildren<Wheel *>())
        connect(wheel, &Wheel::editFinished, this, &EditHistory::commit);
}

EditHistory::Images EditHistory::current() const
{
    const Brisel::ActivePatch &active = m_manager.activePatch();
    return {active.patchImage(), active.zonesImage()};
}

void EditHistory::paramChanged()
{
    // While a knob or wheel is held the manager is not live; its release
    // commits the whole drag as one step.
    if (!m_restoring && m_manager.isLive())
        commit();
}

void EditHistory::wholeChanged()
{
    if (!m_restoring)
        clear();
}

void EditHistory::commit()
{
    Images now = current();
    if (now == m_committed)
        return;
    m_undo.push_back({std::move(m_committed), now});
    if (m_undo.size() > std::size_t(MaxSteps))
        m_undo.erase(m_undo.begin());
    m_committed = std::move(now);
    m_redo.clear();
    emit changed();
}

void EditHistory::clear()
{
    m_committed = current();
    if (m_undo.empty() && m_redo.empty())
        return;
    m_undo.clear();
    m_redo.clear();
    emit changed();
}

void EditHistory::restore(const Images &images)
{
    Brisel::ActivePatch &active = m_manager.activePatch();
    const Images now = current();
    const std::vector<Brisel::Param *> params = paramsOf(active);
    std::vector<std::string> before;
    for (const Brisel::Param *param : params)
        before.push_back(valueOf(param));
    m_restoring = true;
    // The whole step reaches the controller once, when live again.
    m_manager.suspendLive();
    if (images.patch != now.patch)
        active.setPatchImage(images.patch);
    if (images.zones != now.zones)
        active.setZonesImage(images.zones);
    // A view bound to one setting (the zones tab's name and key range) hears
    // of it exactly as of an edit of that setting.
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (valueOf(params[i]) != before[i])
            params[i]->subject().notify();
    }
    active.modifiedStatus().setModified();
    m_manager.resumeLive();
    m_restoring = false;
    m_committed = current();
}

void EditHistory::undo()
{
    // Edits not yet committed (a field being typed in) become a step first.
    commit();
    if (m_undo.empty())
        return;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    restore(step.before);
    m_redo.push_back(std::move(step));
    emit changed();
}

void EditHistory::redo()
{
    if (m_redo.empty())
        return;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    restore(step.after);
    m_undo.push_back(std::move(step));
    emit changed();
}

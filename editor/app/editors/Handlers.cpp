#include "editor/app/editors/Handlers.h"

#include "editor/app/editors/EditorWidgets.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/skin/CZelButtonGroup.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/StatusMessage.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSignalMapper>

WidgetHandler::~WidgetHandler() = default;

void HandlerList::add(WidgetHandler *handler)
{
    if (handler)
        m_handlers.emplace_back(handler);
}

void HandlerList::updateAll()
{
    for (const auto &handler : m_handlers)
        handler->update();
}

KnobHandler::KnobHandler(Knob *knob, KnobData *data) : m_knob(knob), m_data(data) { m_data->bind(this); }

void KnobHandler::valueChanged(int value)
{
    if (value != m_data->value())
        m_data->setValue(value);
}

void KnobHandler::update()
{
    int minimum = 0;
    int maximum = 0;
    m_data->range(minimum, maximum);
    // Showing the core's state is not an edit: nothing of it goes back out.
    const QSignalBlocker blocker(m_knob);
    if (m_knob->minimum() != minimum || m_knob->maximum() != maximum)
        m_knob->setRange(minimum, maximum);
    m_knob->setValue(m_data->value());
}

WheelHandler::WheelHandler(Wheel *wheel, WheelData *data, WheelBehaviour *behaviour)
    : m_wheel(wheel), m_data(data), m_behaviour(behaviour)
{
    m_data->bind(this);
}

void WheelHandler::pressed() { m_behaviour->pressed(*m_data, *m_wheel); }

void WheelHandler::valueChanged(int value) { m_behaviour->valueChanged(*m_data, value); }

void WheelHandler::released() { m_behaviour->released(*m_data, *m_wheel); }

void WheelHandler::update()
{
    const QSignalBlocker blocker(m_wheel);
    m_wheel->setValue(m_data->value());
}

ToggleHandler::ToggleHandler(CZelPushButton *button, Brisel::ScalarParam &param) : m_button(button), m_param(param)
{
    m_param.set(this);
}

void ToggleHandler::toggled(bool on)
{
    const int value = on ? 1 : 0;
    if (m_param.value() != value)
        m_param.setValue(value);
}

void ToggleHandler::update() { m_button->setChecked(m_param.value() != 0); }

LEDHandler::LEDHandler(CZelPushButton *led, Brisel::ScalarParam &param) : m_led(led), m_param(param)
{
    m_param.set(this);
}

void LEDHandler::update() { m_led->setChecked(m_param.value() != 0); }

StoreButtonHandler::StoreButtonHandler(CZelPushButton *button, Brisel::RemoteControlManager &manager)
    : m_button(button), m_manager(manager), m_modified(manager.activePatch().modifiedStatus())
{
    m_modified.set(this);
}

void StoreButtonHandler::clicked()
{
    m_manager.storeActivePatch();
    showStatusMessage(m_button, storedText(m_manager));
}

QString StoreButtonHandler::storedText(const Brisel::RemoteControlManager &manager)
{
    return tr("Patch stored in slot %1").arg(manager.currentPosition() + 1);
}

void StoreButtonHandler::update()
{
    const bool enabled = m_modified.value() != 0;
    m_button->setEnabled(enabled);
    if (!enabled && m_button->hasFocus())
        m_button->clearFocus();
}

LineEditHandler::LineEditHandler(CZelLineEdit *edit, LineEditData *data) : m_edit(edit), m_data(data)
{
    m_data->bind(this);
}

void LineEditHandler::editingFinished()
{
    // A text that changes nothing (unparsable, out of the field's rule or
    // equal to what is stored) shows the stored value again; one that the
    // field refused says why.
    const QString entered = m_edit->text();
    if (!m_data->setText(entered))
        m_edit->setText(m_data->text());
    if (const QString rule = m_data->rule(); !rule.isEmpty() && !m_data->shows(entered))
        showStatusMessage(m_edit, rule);
    m_edit->clearFocus();
}

void LineEditHandler::update()
{
    const QString text = m_data->text();
    if (text != m_edit->text())
        m_edit->setText(text);
}

CCLineEditHandler::CCLineEditHandler(CCLineEdit *edit, Brisel::ScalarParam &mode, Brisel::ScalarParam &number)
    : LineEditHandler(edit, new NumLineEditData(number)), m_ccEdit(edit), m_mode(mode), m_number(number)
{
    m_mode.set(this);
}

void CCLineEditHandler::select3DMIDIParameter(const QString &index)
{
    int n = 0;
    if (Conversions::parse(index, n) && n != m_number.value())
        m_number.setValue(n);
}

void CCLineEditHandler::update()
{
    LineEditHandler::update();
    m_ccEdit->set3DMenu(m_mode.mode() == ControllerModeParameter::Midi3D);
}

NumStaticDisplayHandler::NumStaticDisplayHandler(QLabel *label, Brisel::ScalarParam &param)
    : m_label(label), m_param(param)
{
    m_param.set(this);
}

void NumStaticDisplayHandler::update() { m_label->setText(QString::number(m_param.value())); }

ControllerModeDisplayHandler::ControllerModeDisplayHandler(QLabel *label, Brisel::ScalarParam &mode)
    : m_label(label), m_mode(mode)
{
    m_mode.set(this);
}

void ControllerModeDisplayHandler::update()
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        EditorWidgets::setImageLabelImage(m_label, QStringLiteral(":/images/modeCC.bmp"));
        break;
    case ControllerModeParameter::Midi3D:
        EditorWidgets::setImageLabelImage(m_label, QStringLiteral(":/images/mode3DMIDI.bmp"));
        break;
    case ControllerModeParameter::Nrpn:
        EditorWidgets::setImageLabelImage(m_label, QStringLiteral(":/images/modeNRPN.bmp"));
        break;
    default:
        break;
    }
}

ButtonGroupHandler::ButtonGroupHandler(Brisel::ScalarParam &param)
    : m_param(param), m_mapper(new QSignalMapper(this)), m_group(new CZelButtonGroup(this))
{
    m_group->setExclusive(true);
    m_param.set(this);
    connect(m_mapper, &QSignalMapper::mappedInt, this, &ButtonGroupHandler::onButton);
}

ButtonGroupHandler::~ButtonGroupHandler() = default;

void ButtonGroupHandler::addButton(CZelAbstractButton *button)
{
    const int index = int(m_group->buttons().size());
    m_group->addButton(button);
    connect(button, &CZelAbstractButton::clicked, m_mapper, qOverload<>(&QSignalMapper::map));
    m_mapper->setMapping(button, index);
}

void ButtonGroupHandler::onButton(int index)
{
    if (m_param.value() != index)
        m_param.setValue(index);
}

void ButtonGroupHandler::update()
{
    const QList<CZelAbstractButton *> buttons = m_group->buttons();
    const int value = m_param.value();
    if (value >= 0 && value < buttons.size() && !buttons[value]->isChecked())
        buttons[value]->setChecked(true);
}

ProgramGroupHandler::ProgramGroupHandler(CZelAbstractButton *master, CZelAbstractButton *entry, QObject *parent)
    : QObject(parent), m_master(master), m_entry(entry)
{
}

void ProgramGroupHandler::onMasterEnable(bool on)
{
    m_entry->setEnabled(on);
    emitAll(on && m_entry->isChecked());
}

void ProgramGroupHandler::onGroupEnable(bool on) { emitAll(on && m_master->isChecked()); }

void ProgramGroupHandler::emitAll(bool on)
{
    emit setEnableMSB(on);
    emit setEnableLSB(on);
    emit setEnablePGM(on);
}

SpinBoxHandler::SpinBoxHandler(Brisel::ScalarParam &param, QObject *parent) : QObject(parent), m_param(param) {}

void SpinBoxHandler::decremented() { m_param.setValue(m_param.value() - 1); }

void SpinBoxHandler::incremented() { m_param.setValue(m_param.value() + 1); }

ModeButtonHandler::ModeButtonHandler(Brisel::ScalarParam &mode, QObject *parent) : QObject(parent), m_mode(mode) {}

void ModeButtonHandler::selectCC() { m_mode.setMode(ControllerModeParameter::CC); }

void ModeButtonHandler::select3DMIDI() { m_mode.setMode(ControllerModeParameter::Midi3D); }

void ModeButtonHandler::selectNRPN() { m_mode.setMode(ControllerModeParameter::Nrpn); }

#include "editor/app/editors/WidgetBuilders.h"

#include "editor/app/editors/EditorSkin.h"
#include "editor/app/editors/Handlers.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/skin/CZelPushButton.h"

#include <QLabel>

WidgetBuilder::WidgetBuilder(QWidget *parent, const QString &section, const QString &element)
    : m_parent(parent)
    , m_name(widgetName(section, element))
    , m_position(EditorSkin::instance().position(section, element))
{
}

WidgetBuilder::~WidgetBuilder() = default;

WidgetHandler *WidgetBuilder::build()
{
    QWidget *widget = createWidget();
    if (!widget)
        return nullptr;
    widget->move(m_position);
    if (!m_toolTip.isEmpty())
        widget->setToolTip(m_toolTip);
    createData();
    m_handler = createHandler();
    return connectHandler();
}

KnobBuilder::KnobBuilder(QWidget *parent, const QString &section, const QString &element,
                         Brisel::RemoteControlManager *manager, const ControlValueParams &params)
    : WidgetBuilder(parent, section, element), m_manager(manager), m_params(params)
{
}

QWidget *KnobBuilder::createWidget() { return m_knob = EditorWidgets::knob(parent(), name(), m_manager); }

void KnobBuilder::createData() { m_data = new ValueKnobData(m_params); }

WidgetHandler *KnobBuilder::createHandler() { return m_knobHandler = new KnobHandler(m_knob, m_data); }

WidgetHandler *KnobBuilder::connectHandler()
{
    QObject::connect(m_knob, &Knob::valueChanged, m_knobHandler, &KnobHandler::valueChanged);
    return m_knobHandler;
}

WheelBuilder::WheelBuilder(QWidget *parent, const QString &section, const QString &element,
                           Brisel::RemoteControlManager *manager)
    : WidgetBuilder(parent, section, element), m_manager(manager)
{
}

QWidget *WheelBuilder::createWidget() { return m_wheel = EditorWidgets::wheel(parent(), name(), m_manager); }

WidgetHandler *WheelBuilder::createHandler() { return m_wheelHandler = new WheelHandler(m_wheel, m_data, m_behaviour); }

WidgetHandler *WheelBuilder::connectHandler()
{
    QObject::connect(m_wheel, &Wheel::pressed, m_wheelHandler, &WheelHandler::pressed);
    QObject::connect(m_wheel, &Wheel::valueChanged, m_wheelHandler, &WheelHandler::valueChanged);
    QObject::connect(m_wheel, &Wheel::released, m_wheelHandler, &WheelHandler::released);
    return m_wheelHandler;
}

PitchWheelBuilder::PitchWheelBuilder(QWidget *parent, const QString &section, const QString &element,
                                     Brisel::RemoteControlManager *manager, const ControlValueParams &params)
    : WheelBuilder(parent, section, element, manager), m_params(params)
{
}

void PitchWheelBuilder::createData()
{
    m_data = new PitchWheelData(m_params);
    m_behaviour = new PitchWheelBehaviour;
}

ModWheelBuilder::ModWheelBuilder(QWidget *parent, const QString &section, const QString &element,
                                 Brisel::RemoteControlManager *manager, Brisel::ScalarParam &value7)
    : WheelBuilder(parent, section, element, manager), m_value7(value7)
{
}

void ModWheelBuilder::createData()
{
    m_data = new ModWheelData(m_value7);
    m_behaviour = new StandardWheelBehaviour;
}

ToggleBuilder::ToggleBuilder(QWidget *parent, const QString &section, const QString &element, const QString &renderName,
                             Brisel::ScalarParam &param)
    : WidgetBuilder(parent, section, element), m_renderName(renderName), m_param(param)
{
}

QWidget *ToggleBuilder::createWidget()
{
    return m_button = EditorWidgets::toggleButton(parent(), name(), m_renderName);
}

WidgetHandler *ToggleBuilder::createHandler() { return m_toggleHandler = new ToggleHandler(m_button, m_param); }

WidgetHandler *ToggleBuilder::connectHandler()
{
    QObject::connect(m_button, &CZelPushButton::toggled, m_toggleHandler, &ToggleHandler::toggled);
    return m_toggleHandler;
}

LEDBuilder::LEDBuilder(QWidget *parent, const QString &section, const QString &element, const QString &renderName,
                       Brisel::ScalarParam &param)
    : WidgetBuilder(parent, section, element), m_renderName(renderName), m_param(param)
{
}

QWidget *LEDBuilder::createWidget() { return m_led = EditorWidgets::led(parent(), name(), m_renderName); }

WidgetHandler *LEDBuilder::createHandler() { return m_ledHandler = new LEDHandler(m_led, m_param); }

WidgetHandler *LEDBuilder::connectHandler() { return m_ledHandler; }

StoreButtonBuilder::StoreButtonBuilder(QWidget *parent, const QString &section, const QString &element,
                                       const QString &renderName, Brisel::RemoteControlManager &manager)
    : WidgetBuilder(parent, section, element), m_renderName(renderName), m_manager(manager)
{
}

QWidget *StoreButtonBuilder::createWidget()
{
    return m_button = EditorWidgets::pushButton(parent(), name(), m_renderName);
}

WidgetHandler *StoreButtonBuilder::createHandler()
{
    return m_storeHandler = new StoreButtonHandler(m_button, m_manager);
}

WidgetHandler *StoreButtonBuilder::connectHandler()
{
    QObject::connect(m_button, &CZelPushButton::clicked, m_storeHandler, &StoreButtonHandler::clicked);
    return m_storeHandler;
}

LineEditBuilder::LineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                 const EditorWidgets::FieldLook &look)
    : WidgetBuilder(parent, section, element), m_look(look)
{
}

QWidget *LineEditBuilder::createWidget() { return m_edit = EditorWidgets::lineEdit(parent(), name(), m_look); }

WidgetHandler *LineEditBuilder::createHandler() { return m_editHandler = new LineEditHandler(m_edit, m_data); }

WidgetHandler *LineEditBuilder::connectHandler()
{
    QObject::connect(m_edit, &LineEdit::editingFinished, m_editHandler, &LineEditHandler::editingFinished);
    return m_editHandler;
}

CCLineEditBuilder::CCLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                     const EditorWidgets::FieldLook &look, Brisel::ScalarParam &mode,
                                     Brisel::ScalarParam &number)
    : LineEditBuilder(parent, section, element, look), m_mode(mode), m_number(number)
{
}

QWidget *CCLineEditBuilder::createWidget() { return m_edit = EditorWidgets::ccLineEdit(parent(), name(), m_look); }

WidgetHandler *CCLineEditBuilder::createHandler()
{
    return m_editHandler = new CCLineEditHandler(static_cast<CCLineEdit *>(m_edit), m_mode, m_number);
}

WidgetHandler *CCLineEditBuilder::connectHandler()
{
    auto *edit = static_cast<CCLineEdit *>(m_edit);
    auto *handler = static_cast<CCLineEditHandler *>(m_editHandler);
    QObject::connect(edit, &CCLineEdit::select3DMIDIParameter, handler, &CCLineEditHandler::select3DMIDIParameter);
    return LineEditBuilder::connectHandler();
}

MidiChanLineEditBuilder::MidiChanLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                                 const EditorWidgets::FieldLook &look, Brisel::ScalarParam &channel)
    : LineEditBuilder(parent, section, element, look), m_channel(channel)
{
}

void MidiChanLineEditBuilder::createData() { m_data = new MidiChanLineEditData(m_channel); }

NumLineEditBuilder::NumLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                       const EditorWidgets::FieldLook &look, Brisel::ScalarParam &param, bool isSigned,
                                       int offset)
    : LineEditBuilder(parent, section, element, look), m_param(param), m_signed(isSigned), m_offset(offset)
{
}

void NumLineEditBuilder::createData() { m_data = new NumLineEditData(m_param, m_signed, m_offset); }

StringLineEditBuilder::StringLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                             const EditorWidgets::FieldLook &look, Brisel::StringParam &param,
                                             Rule rule)
    : LineEditBuilder(parent, section, element, look), m_param(param), m_rule(rule)
{
}

QWidget *StringLineEditBuilder::createWidget()
{
    if (m_rule == PatchName)
        m_edit = EditorWidgets::nameLineEdit(parent(), name(), m_look);
    else
        LineEditBuilder::createWidget();
    m_edit->setValidator(m_rule == PatchName ? NameValidator::forPatchName(m_edit)
                                             : NameValidator::forControlName(m_edit));
    return m_edit;
}

void StringLineEditBuilder::createData() { m_data = new StringLineEditData(m_param); }

ValueLineEditBuilder::ValueLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                           const EditorWidgets::FieldLook &look, const ControlValueParams &params)
    : LineEditBuilder(parent, section, element, look), m_params(params)
{
}

void ValueLineEditBuilder::createData() { m_data = new ValueLineEditData(m_params); }

PitchWheelLineEditBuilder::PitchWheelLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                                     const EditorWidgets::FieldLook &look,
                                                     const ControlValueParams &params)
    : LineEditBuilder(parent, section, element, look), m_params(params)
{
}

void PitchWheelLineEditBuilder::createData() { m_data = new PitchWheelLineEditData(m_params); }

PitchWheelCCLineEditBuilder::PitchWheelCCLineEditBuilder(QWidget *parent, const QString &section,
                                                         const QString &element, const EditorWidgets::FieldLook &look,
                                                         Brisel::ScalarParam &mode, Brisel::ScalarParam &number)
    : LineEditBuilder(parent, section, element, look), m_mode(mode), m_number(number)
{
}

void PitchWheelCCLineEditBuilder::createData() { m_data = new PitchWheelCCLineEditData(m_mode, m_number); }

NumStaticDisplayBuilder::NumStaticDisplayBuilder(QWidget *parent, const QString &section, const QString &element,
                                                 const QString &image, Brisel::ScalarParam &param)
    : WidgetBuilder(parent, section, element), m_image(image), m_param(param)
{
}

QWidget *NumStaticDisplayBuilder::createWidget()
{
    return m_label = EditorWidgets::imageLabel(parent(), name(), m_image);
}

WidgetHandler *NumStaticDisplayBuilder::createHandler()
{
    return m_labelHandler = new NumStaticDisplayHandler(m_label, m_param);
}

WidgetHandler *NumStaticDisplayBuilder::connectHandler() { return m_labelHandler; }

ControllerModeDisplayBuilder::ControllerModeDisplayBuilder(QWidget *parent, const QString &section,
                                                           const QString &element, Brisel::ScalarParam &mode)
    : WidgetBuilder(parent, section, element), m_mode(mode)
{
}

QWidget *ControllerModeDisplayBuilder::createWidget()
{
    return m_label = EditorWidgets::imageLabel(parent(), name(), QStringLiteral(":/images/modeCC.bmp"));
}

WidgetHandler *ControllerModeDisplayBuilder::createHandler()
{
    return m_labelHandler = new ControllerModeDisplayHandler(m_label, m_mode);
}

WidgetHandler *ControllerModeDisplayBuilder::connectHandler() { return m_labelHandler; }

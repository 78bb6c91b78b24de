#include "editor/app/editors/SectionBuilder.h"

#include "editor/app/editors/EditorMenus.h"
#include "editor/app/editors/EditorSkin.h"
#include "editor/app/editors/EditorWidgets.h"
#include "editor/app/editors/Handlers.h"
#include "editor/app/editors/WidgetBuilders.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/DisplayValues.h"
#include "editor/skin/CZelPushButton.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

QString key(const char *text) { return QString::fromLatin1(text); }

QString tr(const char *text) { return QCoreApplication::translate("PatchEditorView", text); }

EditorWidgets::FieldLook look(const char *image, int maxLength, int points = 8)
{
    EditorWidgets::FieldLook look;
    look.image = QStringLiteral(":/images/") + key(image);
    look.maxLength = maxLength;
    look.points = points;
    return look;
}

ControlValueParams valueParams(Brisel::ControlParams &control)
{
    return {control.mode, control.value, control.value14};
}

// A push button placed at its keys, without a handler of its own.
CZelPushButton *placedButton(QWidget *view, const QString &section, const QString &element, const QString &renderName,
                             bool checkable)
{
    const QString name = widgetName(section, element);
    CZelPushButton *button = checkable ? EditorWidgets::toggleButton(view, name, renderName)
                                       : EditorWidgets::pushButton(view, name, renderName);
    button->move(EditorSkin::instance().position(section, element));
    return button;
}

} // namespace

void TopSectionBuilder::build()
{
    Brisel::ActivePatch &active = m_manager.activePatch();
    m_handlers.add(NumStaticDisplayBuilder(m_view, key("TOP_PATCHNUMBER"), QString(),
                                           QStringLiteral(":/images/patchIndex.bmp"), m_manager.bank().currentPatch())
                       .build());
    m_handlers.add(
        LEDBuilder(m_view, key("TOP_PATCHMODIFIED"), QString(), QStringLiteral("modifiedLED"), active.modifiedStatus())
            .withToolTip(tr("Lit while the patch has edits that are not stored in its slot"))
            .build());
    m_handlers.add(
        StoreButtonBuilder(m_view, key("TOP_PATCHSTORE"), QString(), QStringLiteral("storeButton"), m_manager)
            .withToolTip(tr("Store the patch in its slot of the controller's bank"))
            .build());
    m_handlers.add(StringLineEditBuilder(m_view, key("TOP_PATCHNAME"), QString(), look("patchName.bmp", 16, 10),
                                         active.name(), StringLineEditBuilder::PatchName)
                       .build());
}

void ControlsSectionBuilder::build()
{
    for (int i = 0; i < 16; ++i)
        buildKnobGroup(QStringLiteral("CONTROLS_%1").arg(i + 1).toLatin1().constData(), i, true);
    buildPitchWheel();
    buildModWheel();
    buildKnobGroup("CONTROLS_FOOTSWITCH", FootSwitchControl, false);
}

void ControlsSectionBuilder::buildKnobGroup(const char *sectionKey, int index, bool withMode)
{
    const QString section = key(sectionKey);
    Brisel::ControlParams &control = *m_manager.activePatch().settings().control(index);
    m_handlers.add(StringLineEditBuilder(m_view, section, key("KNOBCONTROL_NAME"), look("controllerName.bmp", 8),
                                         control.name, StringLineEditBuilder::ControlName)
                       .build());
    m_handlers.add(MidiChanLineEditBuilder(m_view, section, key("KNOBCONTROL_CHANNEL"), look("controllerValue.bmp", 2),
                                           control.channel)
                       .build());
    m_handlers.add(CCLineEditBuilder(m_view, section, key("KNOBCONTROL_CCNUMBER"), look("controllerValue.bmp", 3),
                                     control.mode, control.number)
                       .build());
    m_handlers.add(ValueLineEditBuilder(m_view, section, key("KNOBCONTROL_VALUE"), look("controllerValue2.bmp", 5),
                                        valueParams(control))
                       .build());
    m_handlers.add(KnobBuilder(m_view, section, key("KNOBCONTROL_KNOB"), &m_manager, valueParams(control)).build());
    if (!withMode)
        return;
    m_handlers.add(ControllerModeDisplayBuilder(m_view, section, key("KNOBCONTROL_MODE"), control.mode).build());
    CZelPushButton *modeButton =
        placedButton(m_view, section, key("KNOBCONTROL_MODEBUTTON"), QStringLiteral("controllerMode"), false);
    auto *menu = new ModeMenu(m_view);
    modeButton->setMenu(menu->menu());
    auto *handler = new ModeButtonHandler(control.mode, m_view);
    QObject::connect(menu, &ModeMenu::selectCC, handler, &ModeButtonHandler::selectCC);
    QObject::connect(menu, &ModeMenu::select3DMIDI, handler, &ModeButtonHandler::select3DMIDI);
    QObject::connect(menu, &ModeMenu::selectNRPN, handler, &ModeButtonHandler::selectNRPN);
}

void ControlsSectionBuilder::buildPitchWheel()
{
    const QString section = key("CONTROLS_PITCHWHEEL");
    Brisel::ControlParams &control = *m_manager.activePatch().settings().control(PitchWheelControl);
    m_handlers.add(StringLineEditBuilder(m_view, section, key("WHEELCONTROL_NAME"), look("controllerName.bmp", 8),
                                         control.name, StringLineEditBuilder::ControlName)
                       .build());
    m_handlers.add(MidiChanLineEditBuilder(m_view, section, key("WHEELCONTROL_CHANNEL"), look("controllerValue.bmp", 2),
                                           control.channel)
                       .build());
    m_handlers.add(PitchWheelCCLineEditBuilder(m_view, section, key("WHEELCONTROL_CCNUMBER"),
                                               look("controllerValue.bmp", 3), control.mode, control.number)
                       .build());
    m_handlers.add(PitchWheelLineEditBuilder(m_view, section, key("WHEELCONTROL_VALUE"),
                                             look("controllerValue2.bmp", 5), valueParams(control))
                       .build());
    m_handlers.add(
        PitchWheelBuilder(m_view, section, key("WHEELCONTROL_WHEEL"), &m_manager, valueParams(control)).build());
}

void ControlsSectionBuilder::buildModWheel()
{
    const QString section = key("CONTROLS_MODWHEEL");
    Brisel::ControlParams &control = *m_manager.activePatch().settings().control(ModWheelControl);
    m_handlers.add(StringLineEditBuilder(m_view, section, key("WHEELCONTROL_NAME"), look("controllerName.bmp", 8),
                                         control.name, StringLineEditBuilder::ControlName)
                       .build());
    m_handlers.add(MidiChanLineEditBuilder(m_view, section, key("WHEELCONTROL_CHANNEL"), look("controllerValue.bmp", 2),
                                           control.channel)
                       .build());
    m_handlers.add(NumLineEditBuilder(m_view, section, key("WHEELCONTROL_CCNUMBER"), look("controllerValue.bmp", 3),
                                      control.number)
                       .build());
    m_handlers.add(
        NumLineEditBuilder(m_view, section, key("WHEELCONTROL_VALUE"), look("controllerValue2.bmp", 3), control.value)
            .build());
    m_handlers.add(ModWheelBuilder(m_view, section, key("WHEELCONTROL_WHEEL"), &m_manager, control.value).build());
}

void SettingsSectionBuilder::build()
{
    Brisel::PatchSettings &settings = m_manager.activePatch().settings();
    const auto toggle = [&](const char *k, int id) {
        m_handlers.add(
            ToggleBuilder(m_view, key(k), QString(), QStringLiteral("checkButton"), settings.setting(id)).build());
    };
    const auto number = [&](const char *k, Brisel::ScalarParam &param) {
        m_handlers.add(NumLineEditBuilder(m_view, key(k), QString(), look("settingValue.bmp", 3), param).build());
    };
    buildSpinControl("SETTINGS_OCTAVE", Octave, DisplayValues::offset(DisplayValues::Form::Octave));
    buildSpinControl("SETTINGS_SEMITONE", Semitone, DisplayValues::offset(DisplayValues::Form::Semitone));
    toggle("SETTINGS_NOTELATCHMODE", NoteLatchMode);
    number("SETTINGS_NOTELATCHLOWNOTE", settings.noteLatchLow());
    number("SETTINGS_NOTELATCHHIGHNOTE", settings.noteLatchHigh());
    toggle("SETTINGS_SAVEVALUES", SaveValues);
    toggle("SETTINGS_LOADVALUES", LoadValues);
    number("SETTINGS_16CHANNELMODECC", settings.setting(SixteenChannelModeCC));
    m_handlers.add(MidiChanLineEditBuilder(m_view, key("SETTINGS_CHANNELMODECHANNEL"), QString(),
                                           look("settingValue.bmp", 3), settings.setting(ChannelModeChannel))
                       .build());
    toggle("SETTINGS_ADVANCEDMODE", AdvancedMode);
}

void SettingsSectionBuilder::buildSpinControl(const char *sectionKey, int id, int offset)
{
    const QString section = key(sectionKey);
    Brisel::ScalarParam &param = m_manager.activePatch().settings().setting(id);
    m_handlers.add(
        NumLineEditBuilder(m_view, section, key("SPINCONTROL_VALUE"), look("settingValue.bmp", 3), param, true, offset)
            .build());
    auto *handler = new SpinBoxHandler(param, m_view);
    CZelPushButton *down =
        placedButton(m_view, section, key("SPINCONTROL_DECREMENT"), QStringLiteral("spinDec"), false);
    CZelPushButton *up = placedButton(m_view, section, key("SPINCONTROL_INCREMENT"), QStringLiteral("spinInc"), false);
    QObject::connect(down, &CZelPushButton::clicked, handler, &SpinBoxHandler::decremented);
    QObject::connect(up, &CZelPushButton::clicked, handler, &SpinBoxHandler::incremented);
}

void VelocityCurvesSectionBuilder::build()
{
    auto *group = new ButtonGroupHandler(m_manager.activePatch().settings().setting(VelocityCurve));
    for (int i = 1; i <= 8; ++i) {
        group->addButton(placedButton(m_view, QStringLiteral("VELOCITYCURVES_%1").arg(i), QString(),
                                      QStringLiteral("velocityCurveButton%1").arg(i), true));
    }
    m_handlers.add(group);
}

void ProgramsSectionBuilder::build()
{
    Brisel::PatchSettings &settings = m_manager.activePatch().settings();
    ToggleBuilder masterBuilder(m_view, key("PROGRAMCHANGE_MASTERENABLE"), QString(), QStringLiteral("checkButton"),
                                settings.setting(ProgramChangeMasterEnable));
    m_handlers.add(masterBuilder.build());
    CZelPushButton *master = masterBuilder.button();

    EditorWidgets::FieldLook field = look("channel_active.bmp", 3);
    field.disabledImage = QStringLiteral(":/images/channel_disabled.bmp");
    field.mask = false;
    for (int i = 0; i < ProgramChangeCount; ++i) {
        const QString section = QStringLiteral("PROGRAMCHANGE_%1").arg(i + 1);
        Brisel::ProgramParams &program = settings.program(i);
        ToggleBuilder entryBuilder(m_view, section, key("PROGRAMCHANGE_ENABLE"), QStringLiteral("checkButton"),
                                   program.enable);
        m_handlers.add(entryBuilder.build());
        LineEdit *fields[3] = {};
        const std::pair<const char *, Brisel::ScalarParam *> elements[] = {{"PROGRAMCHANGE_MSB", &program.bankMsb},
                                                                           {"PROGRAMCHANGE_LSB", &program.bankLsb},
                                                                           {"PROGRAMCHANGE_PROG", &program.number}};
        int n = 0;
        for (const auto &[element, param] : elements) {
            NumLineEditBuilder builder(m_view, section, key(element), field, *param);
            m_handlers.add(builder.build());
            fields[n++] = builder.edit();
        }
        CZelPushButton *entry = entryBuilder.button();
        auto *handler = new ProgramGroupHandler(master, entry, m_view);
        QObject::connect(handler, &ProgramGroupHandler::setEnableMSB, fields[0], &QWidget::setEnabled);
        QObject::connect(handler, &ProgramGroupHandler::setEnableLSB, fields[1], &QWidget::setEnabled);
        QObject::connect(handler, &ProgramGroupHandler::setEnablePGM, fields[2], &QWidget::setEnabled);
        QObject::connect(entry, &CZelPushButton::toggled, handler, &ProgramGroupHandler::onGroupEnable);
        QObject::connect(master, &CZelPushButton::toggled, handler, &ProgramGroupHandler::onMasterEnable);
        handler->onGroupEnable(entry->isChecked());
        handler->onMasterEnable(master->isChecked());
    }
}

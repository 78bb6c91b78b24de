#include "editor/app/editors/SectionBuilder.h"

#include "editor/app/editors/EditorSkin.h"
#include "editor/app/editors/EditorWidgets.h"
#include "editor/app/editors/Handlers.h"
#include "editor/app/editors/WidgetBuilders.h"
#include "editor/app/editors/ZonesDisplay.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/DisplayValues.h"
#include "editor/skin/CZelPushButton.h"

#include <QCoreApplication>

void ZonesDisplaySectionBuilder::build()
{
    m_handlers.add(ZonesDisplayBuilder(m_view, QStringLiteral("ZONES_DISPLAY"), m_manager).build());
}

void ZonesSettingsSectionBuilder::build()
{
    Brisel::ZonesSettings &zones = m_manager.activePatch().zones();
    m_handlers.add(ToggleBuilder(m_view, QStringLiteral("ZONES_MASTERENABLE"), QString(), QStringLiteral("zonesEnable"),
                                 zones.masterEnable())
                       .build());
    auto *position = new ButtonGroupHandler(zones.transposePosition());
    CZelPushButton *buttons[2] = {};
    int n = 0;
    for (const char *name : {"ZONES_PRE_ZONE", "ZONES_POST_ZONE"}) {
        const QString key = QString::fromLatin1(name);
        CZelPushButton *button = EditorWidgets::toggleButton(m_view, key, QStringLiteral("checkButton"));
        button->move(EditorSkin::instance().position(key));
        position->addButton(button);
        buttons[n++] = button;
    }
    m_handlers.add(position);
    for (int i = 0; i < ZoneCount; ++i)
        buildZone(i, buttons[1]);
}

void ZonesSettingsSectionBuilder::buildZone(int index, CZelPushButton *postZone)
{
    Brisel::ZoneParams &zone = m_manager.activePatch().zones().zone(index);
    const QString section = QStringLiteral("ZONE_%1").arg(index + 1);
    EditorWidgets::FieldLook look;
    look.image = QStringLiteral(":/images/controllerValue2.bmp");
    look.points = 8;
    const auto toggle = [&](const QString &element, const QString &renderName, int field,
                            const QString &toolTip = QString()) {
        ToggleBuilder builder(m_view, section, element, renderName, zone.binding(field));
        m_handlers.add(builder.withToolTip(toolTip).build());
        return builder.button();
    };
    const auto number = [&](const char *element, int field, int maxLength, bool isSigned = false, int offset = 0) {
        look.maxLength = maxLength;
        m_handlers.add(NumLineEditBuilder(m_view, section, QString::fromLatin1(element), look, zone.binding(field),
                                          isSigned, offset)
                           .build());
    };
    toggle(QStringLiteral("ZONE_ENABLE"), QStringLiteral("zone%1Enable").arg(index + 1), ZoneEnable,
           QCoreApplication::translate("ZonesEditorView", "Switch zone %1 on: its rectangle shows on the key scale")
               .arg(index + 1));
    look.maxLength = 2;
    m_handlers.add(
        MidiChanLineEditBuilder(m_view, section, QStringLiteral("ZONE_CHANNEL"), look, zone.binding(ZoneChannel))
            .build());
    number("ZONE_LOWNOTE", ZoneLowNote, 3);
    number("ZONE_HIGHNOTE", ZoneHighNote, 3);
    number("ZONE_LOWVELOCITY", ZoneLowVelocity, 3);
    number("ZONE_HIGHVELOCITY", ZoneHighVelocity, 3);
    number("ZONE_TRANSPOSE", ZoneTranspose, 4, true, DisplayValues::offset(DisplayValues::Form::Transpose));
    const QString check = QStringLiteral("checkButton");
    toggle(QStringLiteral("ZONE_SENDPITCHWHEEL"), check, ZoneSendPitchWheel);
    toggle(QStringLiteral("ZONE_SENDMODWHEEL"), check, ZoneSendModWheel);
    toggle(QStringLiteral("ZONE_SENDAFTERTOUCH"), check, ZoneSendAftertouch);
    toggle(QStringLiteral("ZONE_SENDSUSTAIN"), check, ZoneSendSustain);
    toggle(QStringLiteral("ZONE_NOTELATCHMODE"), check, ZoneNoteLatch);
    CZelPushButton *octave =
        toggle(QStringLiteral("ZONE_POST_ZONE_OCTAVE_TRANSPOSE"), check, ZonePostZoneOctaveTranspose);
    QObject::connect(postZone, &CZelPushButton::toggled, octave, &QWidget::setEnabled);
    octave->setEnabled(postZone->isChecked());
}

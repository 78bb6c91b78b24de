#include "editor/app/PopupMenus.h"

#include <QAction>
#include <QMenu>
#include <QSignalMapper>

ModeMenu::ModeMenu(QWidget *parent)
    : MenuBase(QString(), parent)
{
    addCommand(tr("CC"), &ModeMenu::selectCC);
    addCommand(tr("3D MIDI"), &ModeMenu::select3DMIDI);
    addCommand(tr("NRPN"), &ModeMenu::selectNRPN);
}

const char *const Midi3DParamNamesMenu::Names[NameCount] = {
    QT_TR_NOOP("Azimuth Angle"),     QT_TR_NOOP("Elevation Angle"),
    QT_TR_NOOP("Gain"),              QT_TR_NOOP("Distance Ratio"),
    QT_TR_NOOP("Maximum Distance"),  QT_TR_NOOP("Gain at Maximum Distance"),
    QT_TR_NOOP("Reference Distance Ratio"), QT_TR_NOOP("Pan Spread Angle"),
    QT_TR_NOOP("Roll Angle"),
};

Midi3DParamNamesMenu::Midi3DParamNamesMenu(QObject *parent)
    : QObject(parent)
    , m_menu(new QMenu)
    , m_mapper(new QSignalMapper)
{
    for (int i = 0; i < NameCount; ++i) {
        QAction *action = m_menu->addAction(QString::number(i) + QLatin1Char('.') + tr(Names[i]));
        connect(action, &QAction::triggered, m_mapper, qOverload<>(&QSignalMapper::map));
        m_mapper->setMapping(action, QString::number(i));
    }
}

Midi3DParamNamesMenu::~Midi3DParamNamesMenu()
{
    delete m_menu;
    delete m_mapper;
}

void Midi3DParamNamesMenu::popup(const QPoint &globalPosition) { m_menu->popup(globalPosition); }

#include "editor/app/editors/EditorMenus.h"

#include <QMenu>
#include <QSignalMapper>

ModeMenu::ModeMenu(QObject *parent) : QObject(parent), m_menu(new QMenu)
{
    connect(m_menu->addAction(tr("CC")), &QAction::triggered, this, &ModeMenu::selectCC);
    connect(m_menu->addAction(tr("3D MIDI")), &QAction::triggered, this, &ModeMenu::select3DMIDI);
    connect(m_menu->addAction(tr("NRPN")), &QAction::triggered, this, &ModeMenu::selectNRPN);
}

ModeMenu::~ModeMenu() { delete m_menu; }

Midi3DParamNamesMenu::Midi3DParamNamesMenu(QObject *parent)
    : QObject(parent), m_menu(new QMenu), m_mapper(new QSignalMapper)
{
    static const char *const Names[] = {QT_TR_NOOP("Azimuth Angle"),
                                        QT_TR_NOOP("Elevation Angle"),
                                        QT_TR_NOOP("Gain"),
                                        QT_TR_NOOP("Distance Ratio"),
                                        QT_TR_NOOP("Maximum Distance"),
                                        QT_TR_NOOP("Gain at Maximum Distance"),
                                        QT_TR_NOOP("Reference Distance Ratio"),
                                        QT_TR_NOOP("Pan Spread Angle"),
                                        QT_TR_NOOP("Roll Angle")};
    int index = 0;
    for (const char *name : Names) {
        QAction *action = m_menu->addAction(QString::number(index) + QLatin1Char('.') + tr(name));
        connect(action, &QAction::triggered, m_mapper, qOverload<>(&QSignalMapper::map));
        m_mapper->setMapping(action, QString::number(index));
        ++index;
    }
}

Midi3DParamNamesMenu::~Midi3DParamNamesMenu()
{
    delete m_mapper;
    delete m_menu;
}

#pragma once

#include "editor/app/MenuBase.h"

#include <QPoint>

class QMenu;
class QSignalMapper;

// The controller-mode menu of a control's mode button.
class ModeMenu : public MenuBase
{
    Q_OBJECT

public:
    explicit ModeMenu(QWidget *parent);

signals:
    void selectCC();
    void select3DMIDI();
    void selectNRPN();
};

// The 3D-parameter names offered on a CC-number field in 3D MIDI mode: item
// i reads "i.Name", and the mapper's mappedString delivers "0" .. "8".
class Midi3DParamNamesMenu : public QObject
{
    Q_OBJECT

public:
    static constexpr int NameCount = 9;
    static const char *const Names[NameCount];

    explicit Midi3DParamNamesMenu(QObject *parent = nullptr);
    ~Midi3DParamNamesMenu() override;

    QMenu *menu() const { return m_menu; }
    // Connect a receiver to its mappedString(QString) (function-pointer form).
    QSignalMapper *mapper() const { return m_mapper; }
    void popup(const QPoint &globalPosition);

private:
    QMenu *m_menu;
    QSignalMapper *m_mapper;
};

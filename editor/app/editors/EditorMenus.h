#pragma once

#include <QObject>

class QMenu;
class QSignalMapper;

// The pop-up of a control's mode button.
class ModeMenu : public QObject
{
    Q_OBJECT

public:
    explicit ModeMenu(QObject *parent = nullptr);
    ~ModeMenu() override;
    QMenu *menu() const { return m_menu; }

signals:
    void selectCC();
    void select3DMIDI();
    void selectNRPN();

private:
    QMenu *m_menu;
};

// The nine 3D parameters; the mapper delivers the chosen item's index as text.
class Midi3DParamNamesMenu : public QObject
{
    Q_OBJECT

public:
    explicit Midi3DParamNamesMenu(QObject *parent = nullptr);
    ~Midi3DParamNamesMenu() override;
    QMenu *menu() const { return m_menu; }
    QSignalMapper *mapper() const { return m_mapper; }

private:
    QMenu *m_menu;
    QSignalMapper *m_mapper;
};

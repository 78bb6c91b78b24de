#pragma once

#include "editor/app/editors/Conversions.h"
#include "editor/app/editors/Parameters.h"
#include "editor/app/editors/WidgetHandler.h"

#include <QObject>

#include <memory>

class QLabel;
class QSignalMapper;
class CCLineEdit;
class CZelAbstractButton;
class CZelButtonGroup;
class CZelPushButton;
class CZelRangeControl;
class CZelLineEdit;
class Knob;
class Wheel;

namespace Brisel {
class RemoteControlManager;
}

class KnobHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    KnobHandler(Knob *knob, KnobData *data);
    void update() override;

public slots:
    void valueChanged(int value);

private:
    Knob *m_knob;
    std::unique_ptr<KnobData> m_data;
};

class WheelHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    WheelHandler(Wheel *wheel, WheelData *data, WheelBehaviour *behaviour);
    void update() override;

public slots:
    void pressed();
    void valueChanged(int value);
    void released();

private:
    Wheel *m_wheel;
    std::unique_ptr<WheelData> m_data;
    std::unique_ptr<WheelBehaviour> m_behaviour;
};

class ToggleHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    ToggleHandler(CZelPushButton *button, Brisel::ScalarParam &param);
    void update() override;

public slots:
    void toggled(bool on);

private:
    CZelPushButton *m_button;
    NumericParameter m_param;
};

class LEDHandler : public WidgetHandler
{
public:
    LEDHandler(CZelPushButton *led, Brisel::ScalarParam &param);
    void update() override;

private:
    CZelPushButton *m_led;
    NumericParameter m_param;
};

// Enabled while the active patch is modified; a click stores it.
class StoreButtonHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    StoreButtonHandler(CZelPushButton *button, Brisel::RemoteControlManager &manager);
    void update() override;
    // What the status bar says after the active patch was stored.
    static QString storedText(const Brisel::RemoteControlManager &manager);

public slots:
    void clicked();

private:
    CZelPushButton *m_button;
    Brisel::RemoteControlManager &m_manager;
    NumericParameter m_modified;
};

class LineEditHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    LineEditHandler(CZelLineEdit *edit, LineEditData *data);
    void update() override;

public slots:
    void editingFinished();

protected:
    CZelLineEdit *m_edit;
    std::unique_ptr<LineEditData> m_data;
};

class CCLineEditHandler : public LineEditHandler
{
    Q_OBJECT

public:
    CCLineEditHandler(CCLineEdit *edit, Brisel::ScalarParam &mode, Brisel::ScalarParam &number);
    void update() override;

public slots:
    void select3DMIDIParameter(const QString &index);

private:
    CCLineEdit *m_ccEdit;
    ControllerModeParameter m_mode;
    NumericParameter m_number;
};

class NumStaticDisplayHandler : public WidgetHandler
{
public:
    NumStaticDisplayHandler(QLabel *label, Brisel::ScalarParam &param);
    void update() override;

private:
    QLabel *m_label;
    NumericParameter m_param;
};

class ControllerModeDisplayHandler : public WidgetHandler
{
public:
    ControllerModeDisplayHandler(QLabel *label, Brisel::ScalarParam &mode);
    void update() override;

private:
    QLabel *m_label;
    ControllerModeParameter m_mode;
};

// One parameter chosen by an exclusive group of buttons: button i stands for value i.
class ButtonGroupHandler : public QObject, public WidgetHandler
{
    Q_OBJECT

public:
    explicit ButtonGroupHandler(Brisel::ScalarParam &param);
    ~ButtonGroupHandler() override;
    void addButton(CZelAbstractButton *button);
    void update() override;

public slots:
    void onButton(int index);

private:
    NumericParameter m_param;
    QSignalMapper *m_mapper;
    CZelButtonGroup *m_group;
};

// The enabling of one program-change entry from the master and the entry toggles.
class ProgramGroupHandler : public QObject
{
    Q_OBJECT

public:
    ProgramGroupHandler(CZelAbstractButton *master, CZelAbstractButton *entry, QObject *parent);

public slots:
    void onMasterEnable(bool on);
    void onGroupEnable(bool on);

signals:
    void setEnableMSB(bool on);
    void setEnableLSB(bool on);
    void setEnablePGM(bool on);

private:
    void emitAll(bool on);

    CZelAbstractButton *m_master;
    CZelAbstractButton *m_entry;
};

class SpinBoxHandler : public QObject
{
    Q_OBJECT

public:
    SpinBoxHandler(Brisel::ScalarParam &param, QObject *parent);

public slots:
    void decremented();
    void incremented();

private:
    NumericParameter m_param;
};

class ModeButtonHandler : public QObject
{
    Q_OBJECT

public:
    ModeButtonHandler(Brisel::ScalarParam &mode, QObject *parent);

public slots:
    void selectCC();
    void select3DMIDI();
    void selectNRPN();

private:
    ControllerModeParameter m_mode;
};

#pragma once

#include "editor/app/editors/Conversions.h"
#include "editor/app/editors/EditorWidgets.h"

#include <QPoint>
#include <QString>

class QLabel;
class WidgetHandler;
class KnobHandler;
class WheelHandler;
class ToggleHandler;
class StoreButtonHandler;
class LineEditHandler;
class CZelPushButton;

namespace Brisel {
class RemoteControlManager;
class ScalarParam;
class StringParam;
} // namespace Brisel

// Makes one widget at a layout position with its conversion and its handler.
class WidgetBuilder
{
public:
    // The widget is named "section/element" and placed at the section's
    // position plus the element's.
    WidgetBuilder(QWidget *parent, const QString &section, const QString &element = QString());
    virtual ~WidgetBuilder();

    // For a control that carries no text of its own.
    WidgetBuilder &withToolTip(const QString &text)
    {
        m_toolTip = text;
        return *this;
    }
    // Creates, places, converts, handles, connects; no widget, no handler.
    WidgetHandler *build();
    WidgetHandler *handler() const { return m_handler; }

protected:
    virtual QWidget *createWidget() = 0;
    virtual void createData() = 0;
    virtual WidgetHandler *createHandler() = 0;
    virtual WidgetHandler *connectHandler() = 0;

    QWidget *parent() const { return m_parent; }
    const QString &name() const { return m_name; }

private:
    QWidget *m_parent;
    QString m_name;
    QPoint m_position;
    QString m_toolTip;
    WidgetHandler *m_handler = nullptr;
};

class KnobBuilder : public WidgetBuilder
{
public:
    KnobBuilder(QWidget *parent, const QString &section, const QString &element, Brisel::RemoteControlManager *manager,
                const ControlValueParams &params);

protected:
    QWidget *createWidget() override;
    void createData() override;
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    Brisel::RemoteControlManager *m_manager;
    ControlValueParams m_params;
    Knob *m_knob = nullptr;
    KnobData *m_data = nullptr;
    KnobHandler *m_knobHandler = nullptr;
};

// A wheel; the pitch and modulation builders choose its data and behaviour.
class WheelBuilder : public WidgetBuilder
{
public:
    WheelBuilder(QWidget *parent, const QString &section, const QString &element,
                 Brisel::RemoteControlManager *manager);

protected:
    QWidget *createWidget() override;
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

    Brisel::RemoteControlManager *m_manager;
    Wheel *m_wheel = nullptr;
    WheelData *m_data = nullptr;
    WheelBehaviour *m_behaviour = nullptr;
    WheelHandler *m_wheelHandler = nullptr;
};

class PitchWheelBuilder : public WheelBuilder
{
public:
    PitchWheelBuilder(QWidget *parent, const QString &section, const QString &element,
                      Brisel::RemoteControlManager *manager, const ControlValueParams &params);

protected:
    void createData() override;

private:
    ControlValueParams m_params;
};

class ModWheelBuilder : public WheelBuilder
{
public:
    ModWheelBuilder(QWidget *parent, const QString &section, const QString &element,
                    Brisel::RemoteControlManager *manager, Brisel::ScalarParam &value7);

protected:
    void createData() override;

private:
    Brisel::ScalarParam &m_value7;
};

class ToggleBuilder : public WidgetBuilder
{
public:
    ToggleBuilder(QWidget *parent, const QString &section, const QString &element, const QString &renderName,
                  Brisel::ScalarParam &param);
    CZelPushButton *button() const { return m_button; }

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    QString m_renderName;
    Brisel::ScalarParam &m_param;
    CZelPushButton *m_button = nullptr;
    ToggleHandler *m_toggleHandler = nullptr;
};

class LEDBuilder : public WidgetBuilder
{
public:
    LEDBuilder(QWidget *parent, const QString &section, const QString &element, const QString &renderName,
               Brisel::ScalarParam &param);

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    QString m_renderName;
    Brisel::ScalarParam &m_param;
    CZelPushButton *m_led = nullptr;
    WidgetHandler *m_ledHandler = nullptr;
};

class StoreButtonBuilder : public WidgetBuilder
{
public:
    StoreButtonBuilder(QWidget *parent, const QString &section, const QString &element, const QString &renderName,
                       Brisel::RemoteControlManager &manager);

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    QString m_renderName;
    Brisel::RemoteControlManager &m_manager;
    CZelPushButton *m_button = nullptr;
    StoreButtonHandler *m_storeHandler = nullptr;
};

// A field over a bitmap; subclasses give its conversion.
class LineEditBuilder : public WidgetBuilder
{
public:
    LineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                    const EditorWidgets::FieldLook &look);
    LineEdit *edit() const { return m_edit; }

protected:
    QWidget *createWidget() override;
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

    EditorWidgets::FieldLook m_look;
    LineEdit *m_edit = nullptr;
    LineEditData *m_data = nullptr;
    LineEditHandler *m_editHandler = nullptr;
};

// A knob's CC-number field with the 3D-parameter menu.
class CCLineEditBuilder : public LineEditBuilder
{
public:
    CCLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                      const EditorWidgets::FieldLook &look, Brisel::ScalarParam &mode, Brisel::ScalarParam &number);

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    Brisel::ScalarParam &m_mode;
    Brisel::ScalarParam &m_number;
};

class MidiChanLineEditBuilder : public LineEditBuilder
{
public:
    MidiChanLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                            const EditorWidgets::FieldLook &look, Brisel::ScalarParam &channel);

protected:
    void createData() override;

private:
    Brisel::ScalarParam &m_channel;
};

class NumLineEditBuilder : public LineEditBuilder
{
public:
    NumLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                       const EditorWidgets::FieldLook &look, Brisel::ScalarParam &param, bool isSigned = false,
                       int offset = 0);

protected:
    void createData() override;

private:
    Brisel::ScalarParam &m_param;
    bool m_signed;
    int m_offset;
};

class StringLineEditBuilder : public LineEditBuilder
{
public:
    enum Rule { PatchName, ControlName };

    StringLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                          const EditorWidgets::FieldLook &look, Brisel::StringParam &param, Rule rule);

protected:
    QWidget *createWidget() override;
    void createData() override;

private:
    Brisel::StringParam &m_param;
    Rule m_rule;
};

class ValueLineEditBuilder : public LineEditBuilder
{
public:
    ValueLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                         const EditorWidgets::FieldLook &look, const ControlValueParams &params);

protected:
    void createData() override;

private:
    ControlValueParams m_params;
};

class PitchWheelLineEditBuilder : public LineEditBuilder
{
public:
    PitchWheelLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                              const EditorWidgets::FieldLook &look, const ControlValueParams &params);

protected:
    void createData() override;

private:
    ControlValueParams m_params;
};

class PitchWheelCCLineEditBuilder : public LineEditBuilder
{
public:
    PitchWheelCCLineEditBuilder(QWidget *parent, const QString &section, const QString &element,
                                const EditorWidgets::FieldLook &look, Brisel::ScalarParam &mode,
                                Brisel::ScalarParam &number);

protected:
    void createData() override;

private:
    Brisel::ScalarParam &m_mode;
    Brisel::ScalarParam &m_number;
};

// A number on an image label.
class NumStaticDisplayBuilder : public WidgetBuilder
{
public:
    NumStaticDisplayBuilder(QWidget *parent, const QString &section, const QString &element, const QString &image,
                            Brisel::ScalarParam &param);

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    QString m_image;
    Brisel::ScalarParam &m_param;
    QLabel *m_label = nullptr;
    WidgetHandler *m_labelHandler = nullptr;
};

// The mode image of a knob.
class ControllerModeDisplayBuilder : public WidgetBuilder
{
public:
    ControllerModeDisplayBuilder(QWidget *parent, const QString &section, const QString &element,
                                 Brisel::ScalarParam &mode);

protected:
    QWidget *createWidget() override;
    void createData() override {}
    WidgetHandler *createHandler() override;
    WidgetHandler *connectHandler() override;

private:
    Brisel::ScalarParam &m_mode;
    QLabel *m_label = nullptr;
    WidgetHandler *m_labelHandler = nullptr;
};

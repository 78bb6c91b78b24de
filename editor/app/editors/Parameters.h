#pragma once

#include "editor/core/Observer.h"
#include "editor/core/Param.h"

#include <string>

class WidgetHandler;

// The editor's side of one core parameter: it observes the core parameter and
// hands every change to the handler that shows it.
class Parameter : public Utils::Observer
{
public:
    Parameter() = default;

    WidgetHandler *handler() const { return m_handler; }
    // Stores the handler (not owned) that shows this parameter; returns it.
    WidgetHandler *set(WidgetHandler *handler);
    void update() override;

private:
    WidgetHandler *m_handler = nullptr;
};

class NumericParameter : public Parameter
{
public:
    explicit NumericParameter(Brisel::ScalarParam &param);

    Brisel::ScalarParam &core() const { return m_param; }
    int value() const { return m_param.value(); }
    void setValue(int value) { m_param.setValue(value); }
    int minimum() const { return m_param.minimum(); }
    int maximum() const { return m_param.maximum(); }

private:
    Brisel::ScalarParam &m_param;
};

class StringParameter : public Parameter
{
public:
    explicit StringParameter(Brisel::StringParam &param);

    std::string text() const { return m_param.value(); }
    void setText(const std::string &text) { m_param.setValue(text); }

private:
    Brisel::StringParam &m_param;
};

// A control's mode as the editor numbers it; the core stores a MIDI status code.
class ControllerModeParameter : public Parameter
{
public:
    enum Mode : int {
        None = 0,
        CC = 1,
        PitchBend = 2,
        Midi3D = 3,
        Nrpn = 4,
    };

    explicit ControllerModeParameter(Brisel::ScalarParam &param);

    static int modeFromCode(int code);
    // The status code of a mode 1..4; -1 for any other number.
    static int codeFromMode(int mode);

    int mode() const { return modeFromCode(m_param.value()); }
    // False for a mode outside 1..4, which changes nothing.
    bool setMode(int mode);

private:
    Brisel::ScalarParam &m_param;
};

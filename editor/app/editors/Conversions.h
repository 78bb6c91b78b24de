#pragma once

#include "editor/app/editors/Parameters.h"

#include <QString>

#include <memory>

class WidgetHandler;
class CZelRangeControl;

// Text of a line edit <-> the parameters it stands for. Each conversion owns
// its parameters.
class LineEditData
{
public:
    virtual ~LineEditData();
    virtual void bind(WidgetHandler *handler) = 0;
    virtual QString text() const = 0;
    // Stores what the text says; true when it tried to change something.
    virtual bool setText(const QString &text) = 0;
    // What the field takes, said when an entry was refused; empty when there
    // is nothing to say.
    virtual QString rule() const { return {}; }
    // Whether an entry reads as what the field shows now (as a number when
    // both are numbers): otherwise it was refused.
    bool shows(const QString &entered) const;
};

// MIDI channel: stored 0..15 shows as 1..16.
class MidiChanLineEditData : public LineEditData
{
public:
    explicit MidiChanLineEditData(Brisel::ScalarParam &channel);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;
    QString rule() const override;

private:
    NumericParameter m_channel;
};

// A number shown as value - offset, optionally with a "+" before positive numbers.
class NumLineEditData : public LineEditData
{
public:
    NumLineEditData(Brisel::ScalarParam &param, bool isSigned = false, int offset = 0);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;
    QString rule() const override;

private:
    NumericParameter m_param;
    bool m_signed;
    int m_offset;
};

class StringLineEditData : public LineEditData
{
public:
    explicit StringLineEditData(Brisel::StringParam &param);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;

private:
    StringParameter m_param;
};

// The parameters of a control's value, of which its mode picks one.
struct ControlValueParams {
    Brisel::ScalarParam &mode;
    Brisel::ScalarParam &value7;
    Brisel::ScalarParam &value14;
};

// A control's value as its mode chooses it: the 7-bit value, the 14-bit one or
// neither. Knobs and their value fields use the 7-bit value in CC and NRPN mode
// and the 14-bit one in 3D MIDI mode; the pitch wheel uses the 7-bit value in
// CC mode and the 14-bit one in pitch-bend mode.
class ControlValueChoice
{
public:
    enum Use { Knob, PitchWheel };

    ControlValueChoice(const ControlValueParams &params, Use use);
    void bind(WidgetHandler *handler);
    int mode() const { return m_mode.mode(); }
    // The value the mode chooses; null when it chooses neither.
    NumericParameter *chosen();
    const NumericParameter *chosen() const;
    bool isFourteenBit() const { return chosen() == &m_value14; }

private:
    Use m_use;
    ControllerModeParameter m_mode;
    NumericParameter m_value7;
    NumericParameter m_value14;
};

// A knob's value field: the 7-bit value in CC and NRPN mode, the 14-bit value
// in 3D MIDI mode, nothing otherwise.
class ValueLineEditData : public LineEditData
{
public:
    explicit ValueLineEditData(const ControlValueParams &params);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;
    QString rule() const override;

private:
    ControlValueChoice m_value;
};

// The pitch wheel's value field: the 7-bit value in CC mode, the signed
// bend position -64..+63 in pitch-bend mode.
class PitchWheelLineEditData : public LineEditData
{
public:
    explicit PitchWheelLineEditData(const ControlValueParams &params);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;

private:
    ControlValueChoice m_value;
};

// The pitch wheel's CC field: "PW" for pitch bend, else the CC number.
class PitchWheelCCLineEditData : public LineEditData
{
public:
    PitchWheelCCLineEditData(Brisel::ScalarParam &mode, Brisel::ScalarParam &number);
    void bind(WidgetHandler *handler) override;
    QString text() const override;
    bool setText(const QString &text) override;

private:
    ControllerModeParameter m_mode;
    NumericParameter m_number;
};

class KnobData
{
public:
    virtual ~KnobData();
    virtual void bind(WidgetHandler *handler) = 0;
    virtual void range(int &minimum, int &maximum) const = 0;
    virtual int value() const = 0;
    virtual bool setValue(int value) = 0;
    virtual bool isNotNrpn() const = 0;
};

class ValueKnobData : public KnobData
{
public:
    explicit ValueKnobData(const ControlValueParams &params);
    void bind(WidgetHandler *handler) override;
    void range(int &minimum, int &maximum) const override;
    int value() const override;
    bool setValue(int value) override;
    bool isNotNrpn() const override;

private:
    ControlValueChoice m_value;
};

class WheelData
{
public:
    virtual ~WheelData();
    virtual void bind(WidgetHandler *handler) = 0;
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;
};

class ModWheelData : public WheelData
{
public:
    explicit ModWheelData(Brisel::ScalarParam &value7);
    void bind(WidgetHandler *handler) override;
    int value() const override;
    void setValue(int value) override;

private:
    NumericParameter m_value7;
};

// Pitch-bend mode moves the 14-bit value in steps of 128.
class PitchWheelData : public WheelData
{
public:
    explicit PitchWheelData(const ControlValueParams &params);
    void bind(WidgetHandler *handler) override;
    int value() const override;
    void setValue(int value) override;

private:
    ControlValueChoice m_value;
};

// What a wheel's press, move and release do to its data.
class WheelBehaviour
{
public:
    virtual ~WheelBehaviour();
    virtual void pressed(WheelData &data, const CZelRangeControl &wheel) = 0;
    virtual void valueChanged(WheelData &data, int value) = 0;
    virtual void released(WheelData &data, const CZelRangeControl &wheel) = 0;
};

// The mod wheel stays where it is let go.
class StandardWheelBehaviour : public WheelBehaviour
{
public:
    void pressed(WheelData &data, const CZelRangeControl &wheel) override;
    void valueChanged(WheelData &data, int value) override;
    void released(WheelData &data, const CZelRangeControl &wheel) override;
};

// The pitch wheel springs back to its centre.
class PitchWheelBehaviour : public WheelBehaviour
{
public:
    void pressed(WheelData &data, const CZelRangeControl &wheel) override;
    void valueChanged(WheelData &data, int value) override;
    void released(WheelData &data, const CZelRangeControl &wheel) override;
};

namespace Conversions {
// A decimal integer, with an optional sign; false for anything else.
bool parse(const QString &text, int &value);
// value with a "+" before positive numbers.
QString signedText(int value);
} // namespace Conversions

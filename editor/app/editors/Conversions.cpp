#include "editor/app/editors/Conversions.h"

#include "editor/core/model/DisplayValues.h"
#include "editor/skin/CZelRangeControl.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// A wide value pinned to int's range: out of it is out of every parameter's
// range, and stays so.
int pinned(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

} // namespace

namespace Conversions {

bool parse(const QString &text, int &value)
{
    bool ok = false;
    const qlonglong parsed = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return false;
    value = pinned(parsed);
    return true;
}

QString signedText(int value) { return QString::fromStdString(DisplayValues::signedText(value)); }

} // namespace Conversions

namespace {

QString tr(const char *text) { return QCoreApplication::translate("Conversions", text); }

int plus(int n, int offset) { return pinned((long long)n + offset); }

// Pitch-bend mode moves the 14-bit value in steps of 128: the wheel's
// position 0..127 is its upper seven bits.
int bendPosition(int value14) { return (value14 / 128) % 128; }

int bendValue(long long position) { return pinned(position * 128); }

// Sets the parameter when the value differs; true when it did.
bool setIfDifferent(NumericParameter &param, int value)
{
    if (param.value() == value)
        return false;
    param.setValue(value);
    return true;
}

} // namespace

LineEditData::~LineEditData() = default;

bool LineEditData::shows(const QString &entered) const
{
    const QString shown = text();
    int a = 0, b = 0;
    return entered.trimmed() == shown.trimmed() ||
           (Conversions::parse(entered, a) && Conversions::parse(shown, b) && a == b);
}
KnobData::~KnobData() = default;
WheelData::~WheelData() = default;
WheelBehaviour::~WheelBehaviour() = default;

MidiChanLineEditData::MidiChanLineEditData(Brisel::ScalarParam &channel) : m_channel(channel) {}

void MidiChanLineEditData::bind(WidgetHandler *handler) { m_channel.set(handler); }

QString MidiChanLineEditData::text() const
{
    const int channel = m_channel.value();
    return channel >= 0 && channel <= 15 ? QString::number(DisplayValues::shown(DisplayValues::Form::Channel, channel))
                                         : QString();
}

bool MidiChanLineEditData::setText(const QString &text)
{
    int n = 0;
    if (!Conversions::parse(text, n) || n < 1 || n > 16)
        return false;
    return setIfDifferent(m_channel, DisplayValues::stored(DisplayValues::Form::Channel, n));
}

QString MidiChanLineEditData::rule() const { return tr("Channel must be 1..16"); }

NumLineEditData::NumLineEditData(Brisel::ScalarParam &param, bool isSigned, int offset)
    : m_param(param), m_signed(isSigned), m_offset(offset)
{
}

void NumLineEditData::bind(WidgetHandler *handler) { m_param.set(handler); }

QString NumLineEditData::text() const
{
    const int shown = m_param.value() - m_offset;
    return m_signed ? Conversions::signedText(shown) : QString::number(shown);
}

bool NumLineEditData::setText(const QString &text)
{
    int n = 0;
    if (!Conversions::parse(text, n))
        return false;
    return setIfDifferent(m_param, plus(n, m_offset));
}

QString NumLineEditData::rule() const
{
    const int low = plus(m_param.minimum(), -m_offset), high = plus(m_param.maximum(), -m_offset);
    if (m_signed)
        return tr("The value must be %1..%2").arg(Conversions::signedText(low), Conversions::signedText(high));
    return tr("The value must be %1..%2").arg(low).arg(high);
}

StringLineEditData::StringLineEditData(Brisel::StringParam &param) : m_param(param) {}

void StringLineEditData::bind(WidgetHandler *handler) { m_param.set(handler); }

QString StringLineEditData::text() const { return QString::fromStdString(m_param.text()); }

bool StringLineEditData::setText(const QString &text)
{
    // The field's validator admits printable ASCII only, so Latin-1 is exact.
    const std::string bytes = text.toLatin1().toStdString();
    if (bytes == m_param.text())
        return false;
    m_param.setText(bytes);
    return true;
}

ControlValueChoice::ControlValueChoice(const ControlValueParams &params, Use use)
    : m_use(use), m_mode(params.mode), m_value7(params.value7), m_value14(params.value14)
{
}

void ControlValueChoice::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_value7.set(handler);
    m_value14.set(handler);
}

NumericParameter *ControlValueChoice::chosen() { return const_cast<NumericParameter *>(std::as_const(*this).chosen()); }

const NumericParameter *ControlValueChoice::chosen() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        return &m_value7;
    case ControllerModeParameter::Nrpn:
        return m_use == Knob ? &m_value7 : nullptr;
    case ControllerModeParameter::Midi3D:
        return m_use == Knob ? &m_value14 : nullptr;
    case ControllerModeParameter::PitchBend:
        return m_use == PitchWheel ? &m_value14 : nullptr;
    default:
        return nullptr;
    }
}

ValueLineEditData::ValueLineEditData(const ControlValueParams &params) : m_value(params, ControlValueChoice::Knob) {}

void ValueLineEditData::bind(WidgetHandler *handler) { m_value.bind(handler); }

QString ValueLineEditData::text() const
{
    const NumericParameter *param = m_value.chosen();
    return param ? QString::number(param->value()) : QString();
}

QString ValueLineEditData::rule() const
{
    const NumericParameter *param = m_value.chosen();
    return param ? tr("The value must be %1..%2").arg(param->minimum()).arg(param->maximum()) : QString();
}

bool ValueLineEditData::setText(const QString &text)
{
    NumericParameter *param = m_value.chosen();
    int n = 0;
    if (!param || !Conversions::parse(text, n))
        return false;
    return setIfDifferent(*param, n);
}

PitchWheelLineEditData::PitchWheelLineEditData(const ControlValueParams &params)
    : m_value(params, ControlValueChoice::PitchWheel)
{
}

void PitchWheelLineEditData::bind(WidgetHandler *handler) { m_value.bind(handler); }

QString PitchWheelLineEditData::text() const
{
    const NumericParameter *param = m_value.chosen();
    if (!param)
        return QString();
    if (m_value.isFourteenBit())
        return Conversions::signedText(bendPosition(param->value()) - 64);
    return QString::number(param->value());
}

bool PitchWheelLineEditData::setText(const QString &text)
{
    NumericParameter *param = m_value.chosen();
    int n = 0;
    if (!param || !Conversions::parse(text, n))
        return false;
    return setIfDifferent(*param, m_value.isFourteenBit() ? bendValue((long long)n + 64) : n);
}

PitchWheelCCLineEditData::PitchWheelCCLineEditData(Brisel::ScalarParam &mode, Brisel::ScalarParam &number)
    : m_mode(mode), m_number(number)
{
}

void PitchWheelCCLineEditData::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_number.set(handler);
}

QString PitchWheelCCLineEditData::text() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        return QString::number(m_number.value());
    case ControllerModeParameter::PitchBend:
        return QStringLiteral("PW");
    default:
        return QString();
    }
}

bool PitchWheelCCLineEditData::setText(const QString &text)
{
    if (text == QLatin1String("PW")) {
        if (m_mode.mode() == ControllerModeParameter::PitchBend)
            return false;
        return m_mode.setMode(ControllerModeParameter::PitchBend);
    }
    // Text that is not a number changes nothing, the mode included.
    int n = 0;
    if (!Conversions::parse(text, n))
        return false;
    bool changed = false;
    if (m_mode.mode() != ControllerModeParameter::CC)
        changed = m_mode.setMode(ControllerModeParameter::CC);
    return setIfDifferent(m_number, n) || changed;
}

ValueKnobData::ValueKnobData(const ControlValueParams &params) : m_value(params, ControlValueChoice::Knob) {}

void ValueKnobData::bind(WidgetHandler *handler) { m_value.bind(handler); }

void ValueKnobData::range(int &minimum, int &maximum) const
{
    const NumericParameter *param = m_value.chosen();
    minimum = param ? param->minimum() : 0;
    maximum = param ? param->maximum() : 0;
}

int ValueKnobData::value() const
{
    const NumericParameter *param = m_value.chosen();
    return param ? param->value() : 0;
}

bool ValueKnobData::setValue(int value)
{
    NumericParameter *param = m_value.chosen();
    return param && setIfDifferent(*param, value);
}

bool ValueKnobData::isNotNrpn() const { return m_value.mode() != ControllerModeParameter::Nrpn; }

ModWheelData::ModWheelData(Brisel::ScalarParam &value7) : m_value7(value7) {}

void ModWheelData::bind(WidgetHandler *handler) { m_value7.set(handler); }

int ModWheelData::value() const { return m_value7.value(); }

void ModWheelData::setValue(int value) { m_value7.setValue(value); }

PitchWheelData::PitchWheelData(const ControlValueParams &params) : m_value(params, ControlValueChoice::PitchWheel) {}

void PitchWheelData::bind(WidgetHandler *handler) { m_value.bind(handler); }

int PitchWheelData::value() const
{
    const NumericParameter *param = m_value.chosen();
    if (!param)
        return 0;
    return m_value.isFourteenBit() ? bendPosition(param->value()) : param->value();
}

void PitchWheelData::setValue(int value)
{
    NumericParameter *param = m_value.chosen();
    if (param)
        param->setValue(m_value.isFourteenBit() ? bendValue(value) : value);
}

void StandardWheelBehaviour::pressed(WheelData &, const CZelRangeControl &) {}

void StandardWheelBehaviour::valueChanged(WheelData &data, int value)
{
    if (data.value() != value)
        data.setValue(value);
}

void StandardWheelBehaviour::released(WheelData &data, const CZelRangeControl &wheel) { data.setValue(wheel.value()); }

void PitchWheelBehaviour::pressed(WheelData &data, const CZelRangeControl &wheel) { valueChanged(data, wheel.value()); }

void PitchWheelBehaviour::valueChanged(WheelData &data, int value)
{
    if (data.value() != value)
        data.setValue(value);
}

void PitchWheelBehaviour::released(WheelData &data, const CZelRangeControl &wheel)
{
    data.setValue((wheel.minimum() + wheel.maximum() + 1) / 2);
}

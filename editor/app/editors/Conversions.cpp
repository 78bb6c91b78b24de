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

ValueLineEditData::ValueLineEditData(const ControlValueParams &params)
    : m_mode(params.mode), m_value7(params.value7), m_value14(params.value14)
{
}

void ValueLineEditData::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_value7.set(handler);
    m_value14.set(handler);
}

NumericParameter *ValueLineEditData::used() { return const_cast<NumericParameter *>(std::as_const(*this).used()); }

const NumericParameter *ValueLineEditData::used() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
    case ControllerModeParameter::Nrpn:
        return &m_value7;
    case ControllerModeParameter::Midi3D:
        return &m_value14;
    default:
        return nullptr;
    }
}

QString ValueLineEditData::text() const
{
    const NumericParameter *param = used();
    return param ? QString::number(param->value()) : QString();
}

QString ValueLineEditData::rule() const
{
    const NumericParameter *param = used();
    return param ? tr("The value must be %1..%2").arg(param->minimum()).arg(param->maximum()) : QString();
}

bool ValueLineEditData::setText(const QString &text)
{
    NumericParameter *param = used();
    int n = 0;
    if (!param || !Conversions::parse(text, n))
        return false;
    return setIfDifferent(*param, n);
}

PitchWheelLineEditData::PitchWheelLineEditData(const ControlValueParams &params)
    : m_mode(params.mode), m_value7(params.value7), m_value14(params.value14)
{
}

void PitchWheelLineEditData::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_value7.set(handler);
    m_value14.set(handler);
}

QString PitchWheelLineEditData::text() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        return QString::number(m_value7.value());
    case ControllerModeParameter::PitchBend:
        return Conversions::signedText((m_value14.value() / 128) % 128 - 64);
    default:
        return QString();
    }
}

bool PitchWheelLineEditData::setText(const QString &text)
{
    int n = 0;
    if (!Conversions::parse(text, n))
        return false;
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        return setIfDifferent(m_value7, n);
    case ControllerModeParameter::PitchBend:
        return setIfDifferent(m_value14, pinned(((long long)n + 64) * 128));
    default:
        return false;
    }
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

ValueKnobData::ValueKnobData(const ControlValueParams &params)
    : m_mode(params.mode), m_value7(params.value7), m_value14(params.value14)
{
}

void ValueKnobData::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_value7.set(handler);
    m_value14.set(handler);
}

const NumericParameter *ValueKnobData::used() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
    case ControllerModeParameter::Nrpn:
        return &m_value7;
    case ControllerModeParameter::Midi3D:
        return &m_value14;
    default:
        return nullptr;
    }
}

void ValueKnobData::range(int &minimum, int &maximum) const
{
    const NumericParameter *param = used();
    minimum = param ? param->minimum() : 0;
    maximum = param ? param->maximum() : 0;
}

int ValueKnobData::value() const
{
    const NumericParameter *param = used();
    return param ? param->value() : 0;
}

bool ValueKnobData::setValue(int value)
{
    auto *param = const_cast<NumericParameter *>(used());
    return param && setIfDifferent(*param, value);
}

bool ValueKnobData::isNotNrpn() const { return m_mode.mode() != ControllerModeParameter::Nrpn; }

ModWheelData::ModWheelData(Brisel::ScalarParam &value7) : m_value7(value7) {}

void ModWheelData::bind(WidgetHandler *handler) { m_value7.set(handler); }

int ModWheelData::value() const { return m_value7.value(); }

void ModWheelData::setValue(int value) { m_value7.setValue(value); }

PitchWheelData::PitchWheelData(const ControlValueParams &params)
    : m_mode(params.mode), m_value7(params.value7), m_value14(params.value14)
{
}

void PitchWheelData::bind(WidgetHandler *handler)
{
    m_mode.set(handler);
    m_value7.set(handler);
    m_value14.set(handler);
}

int PitchWheelData::value() const
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        return m_value7.value();
    case ControllerModeParameter::PitchBend:
        return (m_value14.value() / 128) % 128;
    default:
        return 0;
    }
}

void PitchWheelData::setValue(int value)
{
    switch (m_mode.mode()) {
    case ControllerModeParameter::CC:
        m_value7.setValue(value);
        break;
    case ControllerModeParameter::PitchBend:
        m_value14.setValue(value * 128);
        break;
    default:
        break;
    }
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

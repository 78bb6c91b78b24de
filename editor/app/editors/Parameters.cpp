#include "editor/app/editors/Parameters.h"

#include "editor/app/editors/WidgetHandler.h"
#include "editor/core/model/PatchTypes.h"

#include <array>
#include <utility>

WidgetHandler *Parameter::set(WidgetHandler *handler)
{
    m_handler = handler;
    return handler;
}

void Parameter::update()
{
    if (m_handler)
        m_handler->update();
}

NumericParameter::NumericParameter(Brisel::ScalarParam &param) : m_param(param) { param.subject().attach(this); }

StringParameter::StringParameter(Brisel::StringParam &param) : m_param(param) { param.subject().attach(this); }

ControllerModeParameter::ControllerModeParameter(Brisel::ScalarParam &param) : m_param(param)
{
    param.subject().attach(this);
}

namespace {
constexpr std::array<std::pair<int, int>, 4> ModeCodes = {{
    {ControllerModeParameter::CC, ModeCC},
    {ControllerModeParameter::PitchBend, ModePitchWheel},
    {ControllerModeParameter::Midi3D, Mode3DMidi},
    {ControllerModeParameter::Nrpn, ModeNrpn},
}};
} // namespace

int ControllerModeParameter::modeFromCode(int code)
{
    for (const auto &[mode, stored] : ModeCodes) {
        if (stored == code)
            return mode;
    }
    return None;
}

int ControllerModeParameter::codeFromMode(int mode)
{
    for (const auto &[known, stored] : ModeCodes) {
        if (known == mode)
            return stored;
    }
    return -1;
}

bool ControllerModeParameter::setMode(int mode)
{
    const int code = codeFromMode(mode);
    if (code < 0)
        return false;
    m_param.setValue(code);
    return true;
}

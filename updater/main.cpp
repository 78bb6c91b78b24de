#include "updater/core/ProcessList.h"
#include "updater/engine/UpdateLog.h"
#include "updater/wizard/UpdatePrompts.h"
#include "updater/wizard/UpdaterApp.h"
#include "updater/wizard/UpdaterProgram.h"
#include "updater/wizard/WizardEnvironment.h"

#include "platform/MidiSelection.h"
#include "platform/devicecontrol/DeviceControl.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char **argv)
{
    // Only the device-control side is used: the MIDI ports stay closed.
    if (const std::optional<int> keys = Platform::simulatedKeys(argc, argv, std::getenv("VORPAD_SIMULATE")))
        Platform::selectSimulated(*keys);
    Platform::DeviceControl *control = Platform::deviceControl();
    Oxa::UpdaterApp app(argc, argv, control);
    const Oxa::ProgramOptions options = Oxa::parseOptions(app.arguments(), app.applicationDirPath());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "Updater: %s\nusage: Updater [--simulate[=25|49|61]] [--screenshot FILE] [config.xml]\n",
                     qPrintable(options.error));
        return 2;
    }
    Oxa::MessageBoxPrompts prompts;
    const std::unique_ptr<Oxa::ProcessList> processes = Oxa::createSystemProcessList();
    const Oxa::UpdateLog updateLog;
    Oxa::WizardEnvironment environment;
    environment.prompts = &prompts;
    environment.processes = processes.get();
    environment.updateLog = &updateLog;
    environment.hasDeviceControl = control != nullptr;
    if (control)
        environment.accessAdvice = [control] { return QString::fromStdWString(control->accessAdvice()); };
    return Oxa::runUpdater(app.configuration(), options, environment);
}

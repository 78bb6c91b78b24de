#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Oxa {

class UpdaterConfiguration;
struct WizardEnvironment;

// The command line: [--simulate[=25|49|61]] [--screenshot FILE] [CONFIG].
struct ProgramOptions {
    QString configPath;          // config.xml beside the program when not given
    QString screenshot;          // save the devices page here and exit
    std::optional<int> simulate; // keyboard size of the simulated machine
    QString error;               // a usage error, empty when none
};

ProgramOptions parseOptions(const QStringList &arguments, const QString &programDirectory);

// Loads the configuration and runs the wizard (or takes the screenshot).
// 1 when the configuration does not load, otherwise the dialog's result.
int runUpdater(UpdaterConfiguration &configuration, const ProgramOptions &options,
               const WizardEnvironment &environment);

// The devices page after its first rescan, drawn into an image file.
bool saveDevicesScreenshot(UpdaterConfiguration &configuration, const WizardEnvironment &environment,
                           const QString &file);

} // namespace Oxa

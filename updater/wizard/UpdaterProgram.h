#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Oxa {

class UpdaterConfiguration;
struct WizardEnvironment;

// The command line: [--simulate[=25|49|61]] [--screenshot FILE] [CONFIG], or --help, or --version.
struct ProgramOptions {
    QString configPath;          // empty: config.xml beside the program
    QString screenshot;          // save the devices page here and exit
    std::optional<int> simulate; // keyboard size of the simulated machine
    bool help = false;
    bool version = false;
    QString error; // a usage error, empty when none

    // The configuration file: the one given, or config.xml in the program's directory.
    QString configFile(const QString &programDirectory) const;
};

// Needs no application object, so --help, --version and usage errors work without a display.
ProgramOptions parseOptions(const QStringList &arguments);

// The whole program: options, display check, application, wizard. The exit status.
int runProgram(int argc, char **argv);

// Loads the configuration and runs the wizard (or takes the screenshot).
// 1 when the configuration does not load or is refused, or when a screenshot
// met a message box; otherwise 0 once the wizard closes.
int runUpdater(UpdaterConfiguration &configuration, const ProgramOptions &options,
               const WizardEnvironment &environment);

// The devices page after its first rescan, drawn into an image file.
bool saveDevicesScreenshot(UpdaterConfiguration &configuration, const WizardEnvironment &environment,
                           const QString &file);

} // namespace Oxa

#include "updater/wizard/UpdaterProgram.h"

#include "updater/core/ProcessList.h"
#include "updater/engine/UpdateLog.h"
#include "updater/engine/UpdaterConfiguration.h"
#include "updater/wizard/UpdatePrompts.h"
#include "updater/wizard/UpdaterApp.h"
#include "updater/wizard/UpdaterWizard.h"

#include "platform/Display.h"
#include "platform/MidiSelection.h"
#include "platform/devicecontrol/DeviceControl.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Oxa {

namespace {

constexpr char Usage[] = "usage: Updater [--simulate[=25|49|61]] [--screenshot FILE.png] [CONFIG.xml]\n"
                         "       Updater --help | --version\n";

constexpr char Help[] =
    "Updates the firmware of the Vorpad controllers from a firmware package.\n"
    "\n"
    "CONFIG.xml is the package's description; the paths in it are relative to its folder. Without it the\n"
    "updater reads config.xml beside the program.\n"
    "\n"
    "options:\n"
    "  --simulate[=MODEL]   update a simulated controller: 25, 49 or 61 keys (default 49); also\n"
    "                       VORPAD_SIMULATE=MODEL in the environment\n"
    "  --screenshot FILE    draw the devices page (or the message that stops the updater) into a PNG\n"
    "                       file and exit; needs no display\n"
    "  --help               show this text and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Set VORPAD_UPDATER_DEBUG=1 for the debug log on standard error.\n"
    "\n"
    "Exit status: 0 when the updater was closed; 1 when the package does not load or is refused, there\n"
    "is no display, or the picture cannot be written; 2 for a usage error.\n";

const QString SimulateOption = QStringLiteral("--simulate");
const QString ScreenshotOption = QStringLiteral("--screenshot");

std::optional<int> simulatedKeys(const QString &argument)
{
    const QByteArray text = argument.toUtf8();
    const char *const argv[] = {"Updater", text.constData()};
    return Platform::simulatedKeys(2, argv, nullptr);
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

QString ProgramOptions::configFile(const QString &programDirectory) const
{
    return configPath.isEmpty() ? QDir(programDirectory).absoluteFilePath(QStringLiteral("config.xml")) : configPath;
}

ProgramOptions parseOptions(const QStringList &arguments)
{
    ProgramOptions options;
    for (qsizetype i = 1; i < arguments.size() && options.error.isEmpty(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == SimulateOption || argument.startsWith(SimulateOption + QLatin1Char('='))) {
            options.simulate = simulatedKeys(argument);
            if (!options.simulate)
                options.error = QStringLiteral("--simulate takes 25, 49 or 61");
            // "--simulate 61" would read 61 as the package's file.
            else if (argument == SimulateOption && i + 1 < arguments.size() && isNumber(arguments.at(i + 1)))
                options.error =
                    QStringLiteral("--simulate takes its size after '=': --simulate=") + arguments.at(i + 1);
        } else if (argument == ScreenshotOption || argument.startsWith(ScreenshotOption + QLatin1Char('='))) {
            options.screenshot =
                argument == ScreenshotOption ? arguments.value(++i) : argument.mid(ScreenshotOption.size() + 1);
            if (options.screenshot.isEmpty())
                options.error = QStringLiteral("--screenshot needs the name of a PNG file");
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            options.error = QStringLiteral("unknown option ") + argument;
        } else if (options.configPath.isEmpty()) {
            options.configPath = argument;
        } else {
            options.error = QStringLiteral("one package at a time: ") + argument;
        }
    }
    return options;
}

bool saveDevicesScreenshot(UpdaterConfiguration &configuration, const WizardEnvironment &environment,
                           const QString &file)
{
    UpdaterWizard wizard(configuration, environment);
    wizard.next();
    wizard.show();
    QCoreApplication::processEvents();
    return wizard.grab().save(file);
}

int runUpdater(UpdaterConfiguration &configuration, const ProgramOptions &options, const WizardEnvironment &environment)
{
    if (!configuration.load(options.configFile(QCoreApplication::applicationDirPath()))) {
        if (environment.prompts)
            environment.prompts->corruptedPackage(configuration.title());
        return 1;
    }
    // Refused before the devices page opens any device.
    if (configuration.services()->simulatedOnly() && !environment.simulated) {
        if (environment.prompts)
            environment.prompts->simulatedOnlyPackage(configuration.title());
        return 1;
    }
    if (!options.screenshot.isEmpty()) {
        if (saveDevicesScreenshot(configuration, environment, options.screenshot))
            return 0;
        std::fprintf(stderr, "Updater: cannot write %s\n", qPrintable(options.screenshot));
        return 1;
    }
    UpdaterWizard wizard(configuration, environment);
    wizard.exec();
    return 0;
}

int runProgram(int argc, char **argv)
{
    const ProgramOptions options = parseOptions(argumentsOf(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "Updater: %s\n%s", qPrintable(options.error), Usage);
        return 2;
    }
    if (options.help) {
        std::printf("%s\n%s", Usage, Help);
        return 0;
    }
    if (options.version) {
        std::printf("Updater %s\n", VORPAD_VERSION);
        return 0;
    }
    const bool screenshot = !options.screenshot.isEmpty();
    if (!Platform::hasDisplay()) {
        if (!screenshot) {
            std::fputs(
                Platform::howToRunWithoutDisplay({"Updater", " config.xml", "its devices page", "devices.png"}).c_str(),
                stderr);
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen"); // a picture needs no screen
    }
    // Only the device-control side is used: the MIDI ports stay closed.
    const std::optional<int> keys =
        options.simulate ? options.simulate : Platform::simulatedKeys(0, nullptr, std::getenv("VORPAD_SIMULATE"));
    if (keys)
        Platform::selectSimulated(*keys);
    Platform::DeviceControl *control = Platform::deviceControl();
    UpdaterApp app(argc, argv, control);

    std::unique_ptr<UpdatePrompts> prompts;
    if (screenshot)
        prompts = std::make_unique<ScreenshotPrompts>(options.screenshot);
    else
        prompts = std::make_unique<MessageBoxPrompts>();
    const std::unique_ptr<ProcessList> processes = createSystemProcessList();
    const UpdateLog updateLog;
    WizardEnvironment environment;
    environment.prompts = prompts.get();
    environment.processes = processes.get();
    environment.updateLog = &updateLog;
    environment.hasDeviceControl = control != nullptr;
    environment.simulated = keys.has_value();
    if (control)
        environment.accessAdvice = [control] { return QString::fromStdWString(control->accessAdvice()); };
    return runUpdater(app.configuration(), options, environment);
}

} // namespace Oxa

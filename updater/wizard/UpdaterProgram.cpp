#include "updater/wizard/UpdaterProgram.h"

#include "updater/engine/UpdaterConfiguration.h"
#include "updater/wizard/DevicesPage.h"
#include "updater/wizard/UpdatePrompts.h"
#include "updater/wizard/UpdaterWizard.h"

#include "platform/MidiSelection.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace Oxa {

ProgramOptions parseOptions(const QStringList &arguments, const QString &programDirectory)
{
    ProgramOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--simulate") || argument.startsWith(QLatin1String("--simulate="))) {
            // The platform knows which sizes it can simulate.
            const QByteArray text = argument.toUtf8();
            const char *argv[] = {"Updater", text.constData()};
            options.simulate = Platform::simulatedKeys(2, argv, nullptr);
            if (!options.simulate)
                options.error = QStringLiteral("--simulate takes 25, 49 or 61");
        } else if (argument == QLatin1String("--screenshot")) {
            if (++i == arguments.size()) {
                options.error = QStringLiteral("--screenshot needs a file name");
                break;
            }
            options.screenshot = arguments.at(i);
        } else if (argument.startsWith(QLatin1String("--"))) {
            options.error = QStringLiteral("unknown option ") + argument;
        } else if (options.configPath.isEmpty()) {
            options.configPath = argument;
        }
    }
    if (options.configPath.isEmpty())
        options.configPath = QDir(programDirectory).absoluteFilePath(QStringLiteral("config.xml"));
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
    if (!configuration.load(options.configPath)) {
        if (environment.prompts)
            environment.prompts->corruptedPackage(configuration.title());
        return 1;
    }
    if (!options.screenshot.isEmpty()) {
        if (saveDevicesScreenshot(configuration, environment, options.screenshot))
            return 0;
        std::fprintf(stderr, "Updater: cannot write %s\n", qPrintable(options.screenshot));
        return 1;
    }
    UpdaterWizard wizard(configuration, environment);
    return wizard.exec();
}

} // namespace Oxa

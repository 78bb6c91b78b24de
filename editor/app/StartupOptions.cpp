#include "editor/app/StartupOptions.h"

#include "platform/MidiSelection.h"

#include <QDir>

#include <algorithm>

namespace {

const QString SimulateOption = QStringLiteral("--simulate");
const QString ScreenshotOption = QStringLiteral("--screenshot");
const QString ScreenshotTabOption = QStringLiteral("--screenshot-tab");

bool isNumber(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

std::optional<int> simulatedKeys(const QString &argument, const QByteArray &environment)
{
    const QByteArray option = argument.toUtf8();
    const char *const argv[] = {"", option.constData()};
    return Platform::simulatedKeys(argument.isEmpty() ? 1 : 2, argv,
                                   environment.isEmpty() ? nullptr : environment.constData());
}

} // namespace

StartupOptions StartupOptions::parse(const QStringList &arguments, const QByteArray &environmentSimulate)
{
    StartupOptions options;
    bool simulateGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == SimulateOption && i + 1 < arguments.size() && isNumber(arguments.at(i + 1))) {
            // A size after a blank would otherwise travel on as a file name.
            options.error = QStringLiteral("write the size with '=': --simulate=%1").arg(arguments.at(i + 1));
            ++i;
        } else if (argument == SimulateOption || argument.startsWith(SimulateOption + QLatin1Char('='))) {
            simulateGiven = true;
            options.simulate = simulatedKeys(argument, {});
            if (!options.simulate)
                options.error = QStringLiteral("--simulate takes 25, 49 or 61");
        } else if (argument == ScreenshotTabOption || argument.startsWith(ScreenshotTabOption + QLatin1Char('='))) {
            if (argument == ScreenshotTabOption)
                options.screenshotTab = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            else
                options.screenshotTab = argument.mid(ScreenshotTabOption.size() + 1);
            if (options.screenshotTab != QLatin1String("patch") && options.screenshotTab != QLatin1String("zones"))
                options.error = QStringLiteral("--screenshot-tab takes patch or zones");
        } else if (argument == ScreenshotOption) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                options.error = QStringLiteral("--screenshot needs the name of a PNG file");
                continue;
            }
            options.screenshot = arguments.at(++i);
        } else if (argument.startsWith(ScreenshotOption + QLatin1Char('='))) {
            options.screenshot = argument.mid(ScreenshotOption.size() + 1);
            if (options.screenshot.isEmpty())
                options.error = QStringLiteral("--screenshot needs the name of a PNG file");
        } else {
            options.arguments.append(argument);
        }
    }
    if (!options.screenshotTab.isEmpty() && options.screenshot.isEmpty() && options.error.isEmpty())
        options.error = QStringLiteral("--screenshot-tab goes with --screenshot");
    if (!simulateGiven && !environmentSimulate.isEmpty())
        options.simulate = simulatedKeys(QString(), environmentSimulate);
    return options;
}

QString StartupOptions::startMessage() const
{
    const QString message = arguments.join(QLatin1Char(' '));
    return message.isEmpty() ? message : QDir::current().absoluteFilePath(message);
}

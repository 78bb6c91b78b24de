#include "editor/app/EditorStartup.h"

#include "editor/app/Application.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorLibrary.h"
#include "editor/app/EditorSession.h"
#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/MessageParent.h"
#include "editor/app/Screenshot.h"
#include "editor/app/StartupDevice.h"
#include "editor/app/StartupOptions.h"
#include "editor/app/deviceview/EditorFonts.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/RemoteControlManager.h"
#include "platform/Display.h"
#include "platform/MidiSelection.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// Usage errors end with this code, as command-line programs do.
constexpr int UsageError = 2;

constexpr char Help[] = "Edit the patches, zones and banks of a ZEL Vorpad controller, and keep them in files.\n"
                        "\n"
                        "  --simulate[=25|49|61]    work with a simulated controller of that many keys\n"
                        "                           (49 when no size is given); VORPAD_SIMULATE=MODEL\n"
                        "                           in the environment does the same\n"
                        "  --screenshot FILE.png    draw the main window into FILE.png after start-up\n"
                        "                           and exit; a dialog that would wait for an answer\n"
                        "                           is drawn into the picture and the exit status is 1\n"
                        "  --screenshot-tab TAB     with --screenshot: show the \"patch\" or \"zones\" tab\n"
                        "  -h, --help               show this help and exit\n"
                        "  --version                show the version and exit\n"
                        "\n"
                        "FILE, a patch (.vpp) or bank (.vpb) file, is opened and sent to the\n"
                        "controller. When an editor is already running, FILE is handed to it and\n"
                        "this start ends at once.\n"
                        "\n"
                        "Exit status: 0 on success, 1 on failure, 2 on a usage error.\n";

bool midiSystemMissing()
{
#ifdef Q_OS_LINUX
    return !QFile::exists(QStringLiteral("/dev/snd/seq"));
#else
    return false;
#endif
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Peak resident memory in kB, from the kernel's account of this process.
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// VORPAD_MEASURE_STARTUP=1: at the main window's first paint after start-up,
// print the wall-clock time and the peak resident memory, then quit.
class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, this, [] {
                std::printf("first-paint-epoch-ms %lld\npeak-rss-kb %ld\n",
                            static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), peakResidentKb());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int runEditor(int argc, char **argv)
{
    const StartupOptions options = StartupOptions::parse(argumentsOf(argc, argv), qgetenv("VORPAD_SIMULATE"));
    if (options.help) {
        std::printf("%s\n%s", StartupOptions::Usage, Help);
        return 0;
    }
    if (options.version) {
        std::printf("ZELVorpad %s\n", VORPAD_VERSION);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "ZELVorpad: %s\n%sTry 'ZELVorpad --help' for more information.\n",
                     qPrintable(options.error), StartupOptions::Usage);
        return UsageError;
    }
    const QString message = options.startMessage();
    if (!message.isEmpty() && !QFileInfo::exists(message))
        std::fprintf(stderr, "ZELVorpad: no such file: %s\n", qPrintable(message));
    const bool screenshot = !options.screenshot.isEmpty();
    if (!Platform::hasDisplay()) {
        if (!screenshot) {
            std::fputs(Platform::howToRunWithoutDisplay({"ZELVorpad", "", "its main window", "window.png"}).c_str(),
                       stderr);
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen"); // a picture needs no screen
    }

    const bool simulated = options.simulate.has_value();
    Application app(QLatin1String(simulated ? Application::SimulatedIdentifier : Application::Identifier), argc, argv);
    // A picture is always taken by this process, never by a running editor.
    if (!screenshot) {
        if (app.sendMessage(message, Application::HandOverTimeoutMs))
            return 0;
        app.initialize(true);
    }

    EditorSession::setSimulated(simulated);
    if (simulated)
        Platform::selectSimulated(*options.simulate);
    else
        Platform::selectPlatform(1, argv);
    EditorFonts::installSubstitutions();

    MainWindow window;
    MessageParent::set(&window);
    app.setActivationWindow(&window);
    EditorLibrary::attach(&window);
    window.show();
    QObject::connect(&app, &SingleApplication::messageReceived, &app, &Application::handleMessage);

    StartupDevice::connect(simulated);
    if (!simulated && midiSystemMissing())
        DeviceSession::showStatus(QCoreApplication::translate(
            "EditorStartup",
            "No MIDI system: the ALSA sequencer is not available. Start with --simulate to work with a "
            "simulated controller."));
    app.handleMessage(message);

    if (!options.screenshotTab.isEmpty()) {
        // Shown for this picture only; the setting stays as it was.
        window.mainView()->showEditor(true);
        window.mainView()->tabWidget()->setCurrentIndex(
            options.screenshotTab == QLatin1String("zones") ? MainView::ZonesTab : MainView::PatchTab);
        window.fitToContent();
    }
    std::unique_ptr<Screenshot> picture;
    if (screenshot)
        picture = std::make_unique<Screenshot>(&window, options.screenshot);
    FirstPaintProbe probe;
    if (qEnvironmentVariableIntValue("VORPAD_MEASURE_STARTUP") == 1)
        window.installEventFilter(&probe);

    const int loopResult = app.exec();
    MessageParent::set(nullptr);
    Brisel::RemoteControlManager::instance().connection().close();
    return picture ? picture->exitCode() : loopResult;
}

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The editor's own options, taken out of the command line before the rest
// becomes the start message, so they never reach a running editor as a file
// name:
//   --simulate[=25|49|61]   work with a simulated controller (the platform's
//                           own parser decides the sizes)
//   --screenshot FILE       render the main window to a PNG after start-up
//                           and exit; never hands over to a running editor
//   --screenshot-tab TAB    with --screenshot: show the editor on its "patch"
//                           or "zones" tab for the picture
//   -h, --help, --version   answered before any window or display is needed
struct StartupOptions {
    static constexpr char Usage[] = "Usage: ZELVorpad [OPTION]... [FILE.vpp|FILE.vpb]\n";

    bool help = false;
    bool version = false;
    std::optional<int> simulate;
    QString screenshot;
    QString screenshotTab;
    // The remaining arguments, without the program path.
    QStringList arguments;
    // Set on a usage error.
    QString error;

    // arguments[0] is the program path. environmentSimulate is the value of
    // VORPAD_SIMULATE (the command line wins).
    static StartupOptions parse(const QStringList &arguments, const QByteArray &environmentSimulate = {});

    // The remaining arguments joined with one blank, so a path that the shell
    // split at its blanks comes back whole, and made absolute against this
    // process's working folder: a running editor elsewhere would resolve a
    // relative name in its own.
    QString startMessage() const;
};

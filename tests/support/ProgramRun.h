#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <initializer_list>

// One run of a built program as a process, to its end: how it ended and what
// it wrote.
struct ProgramRun {
    bool finished = false; // ended within the time allowed
    int code = -1;         // its exit code; -1 when it crashed or did not end
    QByteArray out;
    QByteArray err;
};

struct ProgramStart {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString workingDirectory{}; // empty: this process's
    int timeoutMs = 30000;      // a program that waits for a person would hang: it is killed then
};

// This process's environment without a display (and without the variables
// named), as a terminal without a window system has it.
inline QProcessEnvironment withoutDisplay(std::initializer_list<const char *> alsoRemoved = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    for (const char *name : alsoRemoved)
        environment.remove(QLatin1String(name));
    return environment;
}

// This thread's events keep flowing while the program runs: a channel the
// test listens on in this thread may have to answer it.
inline ProgramRun runProgram(const QString &program, const QStringList &arguments, const ProgramStart &start = {})
{
    QProcess process;
    process.setProcessEnvironment(start.environment);
    if (!start.workingDirectory.isEmpty())
        process.setWorkingDirectory(start.workingDirectory);
    process.start(program, arguments);
    const QDeadlineTimer deadline(start.timeoutMs);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        process.waitForFinished(5);
        QCoreApplication::processEvents();
    }
    ProgramRun run;
    run.finished = process.state() == QProcess::NotRunning;
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    if (run.finished && process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        run.code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

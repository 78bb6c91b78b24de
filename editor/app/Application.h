#pragma once

#include "editor/app/SingleApplication.h"

class QSessionManager;

// The editor's application object: opens files handed to it (on the command
// line, by a later start, or by the platform's file-open event) and asks to
// keep unsaved work when the session ends.
class Application : public SingleApplication
{
    Q_OBJECT

public:
    static constexpr char Identifier[] = "ZEL Vorpad";
    // A simulated session never meets a real one.
    static constexpr char SimulatedIdentifier[] = "ZEL Vorpad (simulated)";
    static constexpr int HandOverTimeoutMs = 5000;

    Application(const QString &identifier, int &argc, char **argv);

    bool event(QEvent *event) override;

public slots:
    // Posts a LoadFileEvent when the message names an existing file.
    void handleMessage(const QString &message);
    void commitData(QSessionManager &manager);

protected:
    void customEvent(QEvent *event) override;
};

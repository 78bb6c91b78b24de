#pragma once

#include "updater/wizard/WizardEnvironment.h"

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeView;
class QHBoxLayout;

namespace Oxa {

class DevicesModel;
class RunResultsView;
class UpdaterConfiguration;
struct UpdateOutcome;

// The second page: the devices found, which to update, and the update run.
class DevicesPage : public QWidget
{
    Q_OBJECT

public:
    enum class State { NoDevices, Choosing, Updating, Complete, Failed, Stopped };

    DevicesPage(UpdaterConfiguration &configuration, const WizardEnvironment &environment, QWidget *parent = nullptr);
    ~DevicesPage() override;

    State state() const { return m_state; }
    QString labelText() const;
    DevicesModel *model() const { return m_model; }
    QTreeView *view() const { return m_view; }
    RunResultsView *results() const { return m_results; }

signals:
    void cancel();
    void back();
    void exitRequested();
    // An update run reached a device (tests stop the run here).
    void deviceUpdateStarted(const QString &name);

public slots:
    void rescan();
    void doUpdate();
    void deviceSelectionChanged();

private:
    class RunObserver;

    void addActionButton();
    void refreshLabel();
    void finishRun(const UpdateOutcome &outcome);

    UpdaterConfiguration &m_configuration;
    WizardEnvironment m_environment;
    State m_state = State::NoDevices;
    QLabel *m_label;
    QTreeView *m_view;
    DevicesModel *m_model;
    QProgressBar *m_runProgress; // devices done, shown from the run on
    RunResultsView *m_results;   // replaces the view once the run is over
    QHBoxLayout *m_buttons;
    QPushButton *m_cancel;
    QPushButton *m_back;
    QPushButton *m_action = nullptr; // Re-scan, Update or Exit
};

} // namespace Oxa

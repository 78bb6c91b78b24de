#include "updater/wizard/DevicesPage.h"

#include "updater/core/ProcessList.h"
#include "updater/core/UpdaterServices.h"
#include "updater/engine/UpdateLog.h"
#include "updater/engine/UpdateRun.h"
#include "updater/engine/UpdaterConfiguration.h"
#include "updater/wizard/DevicesModel.h"
#include "updater/wizard/ProgressView.h"
#include "updater/wizard/RunResults.h"
#include "updater/wizard/UpdatePrompts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace Oxa {

namespace {

QStringList toStringList(const std::vector<std::string> &names)
{
    QStringList list;
    for (const std::string &name : names)
        list << QString::fromStdString(name);
    return list;
}

// Takes a button off the page. Later, not now: it may be the one whose click is running.
void retire(QHBoxLayout *row, QPushButton *&button)
{
    if (!button)
        return;
    button->hide();
    button->setObjectName(QString());
    row->removeWidget(button);
    button->deleteLater();
    button = nullptr;
}

} // namespace

// Feeds the update loop's progress into the label and the progress dialog.
class DevicesPage::RunObserver : public UpdateObserver
{
public:
    RunObserver(DevicesPage &page, ProgressView &progress) : m_page(page), m_progress(progress) {}

    void deviceStarted(const QString &name) override
    {
        m_page.m_label->setText(tr("Please do not disconnect or power off your devices.\nUpdating: ") + name);
        m_progress.dialog()->setLabelText(tr("Updating %1").arg(name));
        m_page.m_runProgress->setValue(m_started++);
        emit m_page.deviceUpdateStarted(name);
    }
    void partStarted(int steps) override
    {
        m_progress.dialog()->setRange(0, steps);
        m_progress.dialog()->reset();
    }
    void stepStarting(int step) override
    {
        m_progress.dialog()->setValue(step);
        QCoreApplication::processEvents();
    }
    void partFinished(int steps) override { m_progress.dialog()->setValue(steps); }
    bool stopRequested() override { return m_progress.canceled(); }
    void updateFailed() override
    {
        if (m_page.m_environment.prompts)
            m_page.m_environment.prompts->updateError(&m_page, m_page.m_configuration.title());
    }

private:
    static QString tr(const char *text) { return DevicesPage::tr(text); }

    DevicesPage &m_page;
    ProgressView &m_progress;
    int m_started = 0;
};

DevicesPage::DevicesPage(UpdaterConfiguration &configuration, const WizardEnvironment &environment, QWidget *parent)
    : QWidget(parent), m_configuration(configuration), m_environment(environment)
{
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Devices Label"));
    layout->addWidget(m_label);
    if (!m_environment.hasDeviceControl) {
        auto *note = new QLabel(tr("Firmware updates need the controller's Windows driver, which this system does "
                                   "not have.\nStart the updater with --simulate to try it on a simulated controller."),
                                this);
        note->setObjectName(QStringLiteral("Driver Note"));
        layout->addWidget(note);
    }

    m_view = new QTreeView(this);
    m_view->setRootIsDecorated(false);
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->header()->setSectionsMovable(false);
    m_view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->header()->setStretchLastSection(true);
    m_model = new DevicesModel(*m_configuration.services(), this);
    m_view->setModel(m_model);
    connect(m_model, &DevicesModel::dataChanged, this, &DevicesPage::deviceSelectionChanged);
    layout->addWidget(m_view);
    m_results = new RunResultsView(this);
    m_results->hide();
    layout->addWidget(m_results);
    // A simulated controller is written in a blink: the bar stays to show that it happened.
    m_runProgress = new QProgressBar(this);
    m_runProgress->setObjectName(QStringLiteral("Run Progress"));
    m_runProgress->setFormat(tr("%v of %m devices updated"));
    m_runProgress->hide();
    layout->addWidget(m_runProgress);
    layout->addSpacing(15);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel Button"));
    m_back = new QPushButton(tr("Back"), this);
    m_back->setObjectName(QStringLiteral("Back Button"));
    m_buttons->addWidget(m_cancel);
    m_buttons->addWidget(m_back);
    layout->addLayout(m_buttons);
    connect(m_cancel, &QPushButton::clicked, this, &DevicesPage::cancel);
    connect(m_back, &QPushButton::clicked, this, &DevicesPage::back);

    m_state = m_model->rowCount() == 0 ? State::NoDevices : State::Choosing;
    addActionButton();
    refreshLabel();
}

DevicesPage::~DevicesPage() = default;

// Re-scan while nothing was found, Update once something was.
void DevicesPage::addActionButton()
{
    retire(m_buttons, m_action);
    if (m_state == State::NoDevices) {
        m_action = new QPushButton(tr("Re-scan"), this);
        m_action->setObjectName(QStringLiteral("Rescan Button"));
        connect(m_action, &QPushButton::clicked, this, &DevicesPage::rescan);
    } else {
        m_action = new QPushButton(tr("Update"), this);
        m_action->setObjectName(QStringLiteral("Update Button"));
        connect(m_action, &QPushButton::clicked, this, &DevicesPage::doUpdate);
        m_action->setEnabled(m_configuration.services()->selectedCount() > 0);
    }
    m_action->setDefault(true);
    m_buttons->addWidget(m_action);
    m_action->setFocus();
}

QString DevicesPage::labelText() const { return m_label->text(); }

void DevicesPage::refreshLabel()
{
    const UpdaterServices &services = *m_configuration.services();
    const QString advice = m_environment.accessAdvice ? m_environment.accessAdvice() : QString();
    if (services.deviceCount() == 0 && !advice.isEmpty())
        m_label->setText(tr("No supported devices detected.\n") + advice + QLatin1Char('\n'));
    else if (services.deviceCount() == 0)
        m_label->setText(tr("No supported devices detected.\nPlease make sure your devices are connected and click "
                            "the Re-scan button.\n"));
    else if (services.anyUpgradable())
        m_label->setText(tr("Please select the devices that you would like to update and then\npress the Update "
                            "button to begin the process.\n"));
    else
        m_label->setText(tr("There are no upgradable devices.\n\n"));
}

void DevicesPage::rescan()
{
    m_model->rescan();
    if (m_model->rowCount() == 0) {
        refreshLabel();
        return;
    }
    m_state = State::Choosing;
    addActionButton();
    refreshLabel();
    deviceSelectionChanged();
}

void DevicesPage::deviceSelectionChanged()
{
    if (m_state == State::Choosing && m_action)
        m_action->setEnabled(m_configuration.services()->selectedCount() > 0);
}

void DevicesPage::doUpdate()
{
    UpdaterServices &services = *m_configuration.services();
    const QString title = m_configuration.title();
    UpdatePrompts *prompts = m_environment.prompts;
    if (m_environment.processes) {
        for (QStringList running = toStringList(services.runningForbiddenPrograms(*m_environment.processes));
             !running.isEmpty(); running = toStringList(services.runningForbiddenPrograms(*m_environment.processes))) {
            if (!prompts || !prompts->programsRunning(this, title, running))
                return;
        }
    }
    if (prompts && !prompts->confirmUpdate(this, title))
        return;

    m_state = State::Updating;
    m_cancel->setEnabled(false);
    m_back->setEnabled(false);
    m_action->setEnabled(false);
    m_view->setEnabled(false);
    m_runProgress->setRange(0, services.selectedCount());
    m_runProgress->setValue(0);
    m_runProgress->show();

    const RunResults results(services);
    UpdateOutcome outcome;
    {
        ProgressView progress(this);
        RunObserver observer(*this, progress);
        outcome = runUpdates(services, observer, m_environment.updateLog);
    }
    // Show what the devices report now, not what they ran before.
    m_model->rescan();
    m_runProgress->setValue(outcome.updated);
    m_view->hide();
    m_results->showResults(results.lines(outcome, services));
    finishRun(outcome);
}

void DevicesPage::finishRun(const UpdateOutcome &outcome)
{
    retire(m_buttons, m_cancel);
    retire(m_buttons, m_back);
    retire(m_buttons, m_action);
    m_action = new QPushButton(tr("Exit"), this);
    m_action->setObjectName(QStringLiteral("Exit Button"));
    m_action->setDefault(true);
    m_buttons->addWidget(m_action);
    connect(m_action, &QPushButton::clicked, this, &DevicesPage::exitRequested);

    const QString exit = tr("Click the Exit button to quit the application.");
    switch (outcome.kind) {
    case UpdateOutcome::Complete:
        m_state = State::Complete;
        m_label->setText(tr("The update is complete.\n") + exit);
        break;
    case UpdateOutcome::Failed:
        m_state = State::Failed;
        // The log is named only when the failure's line is in it.
        m_label->setText(tr("The update failed for %1.\n").arg(outcome.failedDevice) +
                         (outcome.failureLogged ? tr("Details are in %1.\n").arg(m_environment.updateLog->path())
                                                : tr("The update log could not be written.\n")) +
                         exit);
        break;
    case UpdateOutcome::Stopped:
        m_state = State::Stopped;
        m_label->setText(tr("The update was stopped: %1 of %2 selected devices were updated.\n")
                             .arg(outcome.updated)
                             .arg(outcome.selected) +
                         exit);
        break;
    }
}

} // namespace Oxa

#include "updater/wizard/UpdaterWizard.h"

#include "updater/core/Log.h"
#include "updater/engine/UpdaterConfiguration.h"
#include "updater/wizard/DevicesPage.h"
#include "updater/wizard/IntroPage.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>

namespace Oxa {

UpdaterWizard::UpdaterWizard(UpdaterConfiguration &configuration, const WizardEnvironment &environment, QWidget *parent)
    : QDialog(parent), m_configuration(configuration), m_environment(environment), m_layout(new QHBoxLayout(this))
{
    setWindowTitle(m_configuration.title());
    setMinimumSize(760, 420);
    const QPixmap icon(m_configuration.packager()->icon());
    if (icon.isNull())
        log("UpdaterWizard::UpdaterWizard - no app icon");
    else
        setWindowIcon(QIcon(icon));
    auto *intro = new IntroPage(*m_configuration.packager(), this);
    connect(intro, &IntroPage::cancel, this, &UpdaterWizard::cancel);
    connect(intro, &IntroPage::next, this, &UpdaterWizard::next);
    showPage(intro);
}

IntroPage *UpdaterWizard::introPage() const { return qobject_cast<IntroPage *>(m_current); }

DevicesPage *UpdaterWizard::devicesPage() const { return qobject_cast<DevicesPage *>(m_current); }

void UpdaterWizard::showPage(QWidget *page)
{
    if (m_current) {
        m_current->hide();
        m_layout->removeWidget(m_current);
        m_current->deleteLater(); // its button's click may still be running
    }
    m_current = page;
    m_layout->insertWidget(0, page);
    page->show();
}

void UpdaterWizard::next()
{
    log("UpdaterWizard::next");
    if (m_page != IntroPageShown)
        return;
    auto *devices = new DevicesPage(m_configuration, m_environment, this);
    connect(devices, &DevicesPage::cancel, this, &UpdaterWizard::cancel);
    connect(devices, &DevicesPage::back, this, &UpdaterWizard::back);
    // Ends the dialog, not the application: the program runs only the dialog's own loop.
    connect(devices, &DevicesPage::exitRequested, this, &QDialog::accept);
    m_page = DevicesPageShown;
    showPage(devices);
}

void UpdaterWizard::back()
{
    log("UpdaterWizard::back");
    if (m_page != DevicesPageShown)
        return;
    auto *intro = new IntroPage(*m_configuration.packager(), this);
    connect(intro, &IntroPage::cancel, this, &UpdaterWizard::cancel);
    connect(intro, &IntroPage::next, this, &UpdaterWizard::next);
    m_page = IntroPageShown;
    showPage(intro);
}

void UpdaterWizard::cancel()
{
    log("UpdaterWizard::cancel");
    reject();
}

void UpdaterWizard::reject()
{
    if (const DevicesPage *devices = devicesPage(); devices && devices->state() == DevicesPage::State::Updating)
        return;
    QDialog::reject();
}

} // namespace Oxa

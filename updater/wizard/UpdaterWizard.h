#pragma once

#include "updater/wizard/WizardEnvironment.h"

#include <QDialog>

class QHBoxLayout;

namespace Oxa {

class DevicesPage;
class IntroPage;
class UpdaterConfiguration;

// The updater's dialog: one page at a time, the read-me first, then the
// devices. Every switch builds a fresh page, so the devices rescan each time.
class UpdaterWizard : public QDialog
{
    Q_OBJECT

public:
    enum Page { IntroPageShown = 0, DevicesPageShown = 1 };

    UpdaterWizard(UpdaterConfiguration &configuration, const WizardEnvironment &environment, QWidget *parent = nullptr);

    Page page() const { return m_page; }
    QWidget *currentPage() const { return m_current; }
    IntroPage *introPage() const;
    DevicesPage *devicesPage() const;

public slots:
    void next();
    void back();
    void cancel();
    // Refused while firmware is being written: closing now would leave a device half-written.
    void reject() override;

private:
    void showPage(QWidget *page);

    UpdaterConfiguration &m_configuration;
    WizardEnvironment m_environment;
    QHBoxLayout *m_layout;
    QWidget *m_current = nullptr;
    Page m_page = IntroPageShown;
};

} // namespace Oxa

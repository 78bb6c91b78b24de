#include "updater/wizard/ProgressView.h"

#include "updater/core/Log.h"

#include <QProgressDialog>
#include <QPushButton>

namespace Oxa {

ProgressView::ProgressView(QWidget *parent) : QObject(parent), m_dialog(new QProgressDialog(parent))
{
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setWindowTitle(tr("Updating in progress"));
    m_stop = new QPushButton(tr("Stop"), m_dialog);
    m_dialog->setCancelButton(m_stop);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(420);
    // The dialog would hide itself on cancel; it stays up until the running device is done.
    disconnect(m_dialog, &QProgressDialog::canceled, m_dialog, &QProgressDialog::cancel);
    connect(m_dialog, &QProgressDialog::canceled, this, &ProgressView::cancel);
}

ProgressView::~ProgressView() { delete m_dialog; }

void ProgressView::cancel()
{
    log("ProgressView::cancel");
    m_canceled = true;
    m_stop->setEnabled(false);
}

} // namespace Oxa

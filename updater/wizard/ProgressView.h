#pragma once

#include <QObject>

class QProgressDialog;
class QPushButton;
class QWidget;

namespace Oxa {

// The modal progress dialog of an update run. Stop only sets a flag: the
// device being written finishes, the next one does not start.
class ProgressView : public QObject
{
    Q_OBJECT

public:
    explicit ProgressView(QWidget *parent);
    ~ProgressView() override;

    QProgressDialog *dialog() const { return m_dialog; }
    bool canceled() const { return m_canceled; }

public slots:
    void cancel();

private:
    QProgressDialog *m_dialog;
    QPushButton *m_stop;
    bool m_canceled = false;
};

} // namespace Oxa

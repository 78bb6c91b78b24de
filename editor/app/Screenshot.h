#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QDialog;
class QWidget;

// --screenshot: draws the main window into a PNG once start-up is done and
// ends the event loop. Nobody is there to answer a dialog, so one that opens
// meanwhile (an invalid file named on the command line, say) is drawn over
// the window, closed unanswered, and the run fails.
class Screenshot : public QObject
{
public:
    // Made once start-up has posted its work.
    Screenshot(QWidget *window, QString path);
    ~Screenshot() override;

    // 0 when the window was drawn and written without a dialog in the way.
    int exitCode() const { return m_exitCode; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void take();

    QWidget *m_window;
    QString m_path;
    QPointer<QDialog> m_dialog;
    bool m_taken = false;
    int m_exitCode = 0;
};

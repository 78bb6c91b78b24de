#include "editor/app/Screenshot.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdio>

Screenshot::Screenshot(QWidget *window, QString path) : m_window(window), m_path(std::move(path))
{
    qApp->installEventFilter(this);
    // Behind the events already posted (a file named on the command line),
    // so that what they show is in the picture.
    QMetaObject::invokeMethod(this, &Screenshot::take, Qt::QueuedConnection);
}

Screenshot::~Screenshot() { qApp->removeEventFilter(this); }

bool Screenshot::eventFilter(QObject *watched, QEvent *event)
{
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (event->type() == QEvent::Show && dialog && dialog->isWindow() && !m_taken) {
        m_dialog = dialog;
        // After the dialog has laid itself out, inside whatever loop it runs.
        QTimer::singleShot(0, this, &Screenshot::take);
    }
    return QObject::eventFilter(watched, event);
}

void Screenshot::take()
{
    if (m_taken)
        return;
    m_taken = true;
    QImage picture = m_window->grab().toImage();
    if (m_dialog) {
        const QPixmap dialog = m_dialog->grab();
        QPainter painter(&picture);
        painter.drawPixmap((picture.width() - dialog.width()) / 2, (picture.height() - dialog.height()) / 2, dialog);
        painter.end();
        const auto *box = qobject_cast<QMessageBox *>(m_dialog.data());
        QStringList said{m_dialog->windowTitle(), box ? box->text() : QString()};
        said.removeAll(QString()); // a message box may have no title
        std::fprintf(stderr, "ZELVorpad: a dialog waited for an answer (drawn into the picture): %s\n",
                     qPrintable(said.join(QLatin1String(": "))));
        m_exitCode = 1;
    }
    if (!picture.save(m_path, "PNG")) {
        std::fprintf(stderr, "ZELVorpad: cannot write %s\n", qPrintable(m_path));
        m_exitCode = 1;
    }
    if (m_dialog)
        m_dialog->reject();
    QCoreApplication::exit(m_exitCode);
}

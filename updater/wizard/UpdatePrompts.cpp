#include "updater/wizard/UpdatePrompts.h"

#include <QCoreApplication>

#include <cstdio>

namespace Oxa {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("DevicesPage", text); }

} // namespace

QString PromptTexts::programsRunning(const QStringList &names)
{
    QString text = tr("<p>The following programs are running. Please close them before continuing.<br>");
    for (const QString &name : names)
        text += QLatin1String(" - ") + name.toHtmlEscaped() + QLatin1String("<br>");
    return text + QLatin1String("</p>");
}

QString PromptTexts::warning()
{
    return tr("<p>Please do not disconnect or turn off any of your devices while the firmware is being updated.<br>"
              "The devices will be unavailable until the update has completed.<br>"
              "Please close all the applications that might attempt to use the devices.</p>");
}

QString PromptTexts::error()
{
    return tr("<p>An error occured during the update process. Please run the updater again.</p>");
}

QString PromptTexts::corrupted()
{
    return QCoreApplication::translate(
        "UpdaterApp", "<p>The updater is corrupted. Please download a fresh copy of the updater and run it again.</p>");
}

QString PromptTexts::simulatedOnly()
{
    return QCoreApplication::translate("UpdaterApp",
                                       "<p>This package is made for simulated controllers only: it is never written "
                                       "to a real controller.<br>Start the updater with --simulate to try it.</p>");
}

bool MessageBoxPrompts::programsRunning(QWidget *parent, const QString &title, const QStringList &names)
{
    QMessageBox box(QMessageBox::Information, title, PromptTexts::programsRunning(names),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return ask(box);
}

bool MessageBoxPrompts::confirmUpdate(QWidget *parent, const QString &title)
{
    QMessageBox box(QMessageBox::Information, title, PromptTexts::warning(), QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    return ask(box);
}

void MessageBoxPrompts::updateError(QWidget *parent, const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, PromptTexts::error(), QMessageBox::Ok, parent);
    ask(box);
}

void MessageBoxPrompts::corruptedPackage(const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, PromptTexts::corrupted(), QMessageBox::Ok);
    ask(box);
}

void MessageBoxPrompts::simulatedOnlyPackage(const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, PromptTexts::simulatedOnly(), QMessageBox::Ok);
    ask(box);
}

bool MessageBoxPrompts::ask(QMessageBox &box) { return box.exec() == QMessageBox::Ok; }

bool ScreenshotPrompts::ask(QMessageBox &box)
{
    // Drawn without a window: the picture needs none.
    box.adjustSize();
    if (!box.grab().save(m_file))
        std::fprintf(stderr, "Updater: cannot write %s\n", qPrintable(m_file));
    return false;
}

} // namespace Oxa

#include "updater/wizard/UpdatePrompts.h"

#include <QCoreApplication>
#include <QMessageBox>

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

bool MessageBoxPrompts::programsRunning(QWidget *parent, const QString &title, const QStringList &names)
{
    return QMessageBox::information(parent, title, PromptTexts::programsRunning(names),
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool MessageBoxPrompts::confirmUpdate(QWidget *parent, const QString &title)
{
    return QMessageBox::information(parent, title, PromptTexts::warning(), QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void MessageBoxPrompts::updateError(QWidget *parent, const QString &title)
{
    QMessageBox::critical(parent, title, PromptTexts::error());
}

void MessageBoxPrompts::corruptedPackage(const QString &title)
{
    QMessageBox::critical(nullptr, title, PromptTexts::corrupted());
}

} // namespace Oxa

#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace Oxa {

// The message boxes of the updater, behind one interface so that tests can
// answer them.
class UpdatePrompts
{
public:
    virtual ~UpdatePrompts() = default;
    // Forbidden programs run: true for Ok (check again), false for Cancel.
    virtual bool programsRunning(QWidget *parent, const QString &title, const QStringList &names) = 0;
    // The warning before writing: true for Ok.
    virtual bool confirmUpdate(QWidget *parent, const QString &title) = 0;
    virtual void updateError(QWidget *parent, const QString &title) = 0;
    // The configuration did not load.
    virtual void corruptedPackage(const QString &title) = 0;
    // A package for simulated controllers, started without --simulate.
    virtual void simulatedOnlyPackage(const QString &title) = 0;
};

// The texts of the boxes, shared by the real prompts and the tests.
namespace PromptTexts {
QString programsRunning(const QStringList &names);
QString warning();
QString error();
QString corrupted();
QString simulatedOnly();
} // namespace PromptTexts

// Each box as a modal message box that waits for its answer.
class MessageBoxPrompts : public UpdatePrompts
{
public:
    bool programsRunning(QWidget *parent, const QString &title, const QStringList &names) override;
    bool confirmUpdate(QWidget *parent, const QString &title) override;
    void updateError(QWidget *parent, const QString &title) override;
    void corruptedPackage(const QString &title) override;
    void simulatedOnlyPackage(const QString &title) override;

protected:
    // Shows the box; true when it was answered with Ok.
    virtual bool ask(QMessageBox &box);
};

// For --screenshot: nobody is there to answer, so a box is drawn into the
// picture instead and answered with Cancel.
class ScreenshotPrompts : public MessageBoxPrompts
{
public:
    explicit ScreenshotPrompts(QString file) : m_file(std::move(file)) {}

protected:
    bool ask(QMessageBox &box) override;

private:
    QString m_file;
};

} // namespace Oxa

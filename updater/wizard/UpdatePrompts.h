#pragma once

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
};

// The texts of the boxes, shared by the real prompts and the tests.
namespace PromptTexts {
QString programsRunning(const QStringList &names);
QString warning();
QString error();
QString corrupted();
} // namespace PromptTexts

class MessageBoxPrompts : public UpdatePrompts
{
public:
    bool programsRunning(QWidget *parent, const QString &title, const QStringList &names) override;
    bool confirmUpdate(QWidget *parent, const QString &title) override;
    void updateError(QWidget *parent, const QString &title) override;
    void corruptedPackage(const QString &title) override;
};

} // namespace Oxa

#include "editor/app/FileDialogs.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/files/FileOperations.h"
#include "editor/core/RemoteControlManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include <functional>

namespace FileDialogs {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("FileDialogs", text); }

bool openWith(QWidget *parent, const char *filter, const char *selected)
{
    QString selectedFilter = QLatin1String(selected);
    const QString path = QFileDialog::getOpenFileName(parent, QString(), AppSettings::dialogStartFolder(), tr(filter),
                                                      &selectedFilter, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return false;
    AppSettings::setLastFolderFromFile(path);
    return EditorFiles::open(path);
}

QString presetName(const std::string &name)
{
    QString text = QString::fromStdString(name);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text.left(MaxPresetName);
}

bool saveWith(QWidget *parent, const char *filter, const QString &suffix, const QString &preset,
              const std::function<bool(const QString &)> &save)
{
    QFileDialog dialog(parent, QString(), AppSettings::dialogStartFolder(), tr(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    // Asking before overwriting is the dialog's default; keep it explicit.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!preset.isEmpty())
        dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString path = dialog.selectedFiles().constFirst();
    AppSettings::setLastFolderFromFile(path);
    if (save(path)) {
        DeviceSession::showStatus(tr("Saved %1").arg(QDir::toNativeSeparators(path)));
        return true;
    }
    // The file layer says nothing; a silent failure would look like a saved file.
    QMessageBox::warning(parent, QString(), tr("The file %1 could not be saved.").arg(QDir::toNativeSeparators(path)));
    return false;
}

} // namespace

bool load(QWidget *parent) { return openWith(parent, LoadFilter, "*.vpb"); }
bool loadPatch(QWidget *parent) { return openWith(parent, LoadPatchFilter, ".vpp"); }
bool loadBank(QWidget *parent) { return openWith(parent, LoadBankFilter, ".vpb"); }

bool savePatch(QWidget *parent)
{
    Brisel::RemoteControlManager &manager = Brisel::RemoteControlManager::instance();
    const int position = qBound(0, manager.currentPosition(), StoredPatchCount - 1);
    const QString preset = presetName(manager.bank().patch(position).name().value());
    return saveWith(parent, SavePatchFilter, QStringLiteral("vpp"), preset,
                    [](const QString &path) { return EditorFiles::instance().savePatchFile(path); });
}

bool saveBank(QWidget *parent)
{
    const QString preset = presetName(Brisel::RemoteControlManager::instance().bank().name().value());
    return saveWith(parent, SaveBankFilter, QStringLiteral("vpb"), preset,
                    [](const QString &path) { return EditorFiles::instance().saveBankFile(path); });
}

} // namespace FileDialogs

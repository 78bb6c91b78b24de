#include "editor/app/revert/RevertManager.h"

#include "editor/app/AppSettings.h"
#include "editor/app/EditorSession.h"
#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileCapture.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/StaleFiles.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/RemoteControlManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr char BankSuffix[] = ".vpb";
constexpr char PatchSuffix[] = ".vpp";

QString filePath(const QString &folder, const QString &name, const char *suffix)
{
    return QDir(folder).filePath(name + QLatin1String(suffix));
}

} // namespace

RevertManager &RevertManager::instance()
{
    static RevertManager manager(Brisel::RemoteControlManager::instance());
    return manager;
}

RevertManager::RevertManager(Brisel::RemoteControlManager &manager, Clock clock)
    : m_manager(manager), m_clock(std::move(clock))
{
    rescan();
    prune();
}

QString RevertManager::folder() const
{
    const QString stored = AppSettings::backupPath();
    if (!stored.isEmpty() && QFileInfo(stored).isWritable())
        return stored;
    const QString fallback = EditorSession::defaultBackupFolder();
    if (!fallback.isEmpty())
        AppSettings::setBackupPath(fallback);
    return fallback;
}

bool RevertManager::isBackupName(const QString &baseName)
{
    // Date and time apart, so a local time that a clock change skipped still
    // reads as a name; the round trip refuses anything but the exact form.
    if (baseName.size() != 17 || baseName.at(10) != QLatin1Char('_'))
        return false;
    const QString date = baseName.left(10);
    const QString time = baseName.mid(11);
    const QDate d = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    const QTime t = QTime::fromString(time, QStringLiteral("hhmmss"));
    return d.isValid() && t.isValid() && d.toString(QStringLiteral("yyyy-MM-dd")) == date &&
           t.toString(QStringLiteral("hhmmss")) == time;
}

void RevertManager::rescan()
{
    m_names.clear();
    const QString path = folder();
    if (path.isEmpty())
        return;
    const QDir dir(path);
    QFileInfoList banks = dir.entryInfoList({QLatin1Char('*') + QLatin1String(BankSuffix)}, QDir::Files, QDir::NoSort);
    // Newest first; names of one second break the tie.
    std::sort(banks.begin(), banks.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta > tb : a.fileName() > b.fileName();
    });
    for (const QFileInfo &bank : banks) {
        const QString name = bank.completeBaseName();
        if (isBackupName(name) && QFileInfo(filePath(dir.path(), name, PatchSuffix)).isFile())
            m_names.append(name);
    }
}

void RevertManager::prune()
{
    const int retained = AppSettings::numberOfBackups();
    if (m_names.size() <= retained)
        return;
    const QString dir = folder();
    while (m_names.size() > retained)
        removeFiles(dir, m_names.takeLast());
}

QString RevertManager::saveNow()
{
    const QString name = m_clock().toString(QLatin1String(NameFormat));
    Brisel::Bank &bank = m_manager.bank();
    std::vector<std::vector<Byte>> patches, zones;
    for (int p = 0; p < StoredPatchCount; ++p) {
        const Brisel::Patch &patch = bank.patch(p);
        patches.emplace_back(patch.patchImage().begin(), patch.patchImage().end());
        zones.emplace_back(patch.zonesImage().begin(), patch.zonesImage().end());
    }
    // Both files are built before either is written, so an image that does
    // not validate leaves the folder as it was.
    const QByteArray bankBytes = BankFile::toBytes(bank.settings(), patches, zones);
    const Brisel::ActivePatch &active = m_manager.activePatch();
    const std::vector<Byte> activePatch = active.patchImage(), activeZones = active.zonesImage();
    const QByteArray patchBytes = PatchFile::toBytes(activePatch, activeZones);
    if (bankBytes.isEmpty() || patchBytes.isEmpty() || name.isEmpty())
        return {};

    const QString dir = folder();
    if (dir.isEmpty())
        return {};
    StaleFiles::removeBrokenPairs(dir, &RevertManager::isBackupName, QLatin1String(BankSuffix),
                                  QLatin1String(PatchSuffix));
    // A backup of this second is replaced, never listed twice.
    m_names.removeAll(name);
    if (!SysExFile::writeAll(filePath(dir, name, BankSuffix), bankBytes) ||
        !SysExFile::writeAll(filePath(dir, name, PatchSuffix), patchBytes)) {
        removeFiles(dir, name);
        return {};
    }
    m_names.prepend(name);
    prune();
    return name;
}

void RevertManager::deleteBackup(int i)
{
    if (i < 0 || i >= count())
        return;
    removeFiles(folder(), m_names.takeAt(i));
}

bool RevertManager::restore(int i)
{
    if (i < 0 || i >= count())
        return false;
    const QString dir = folder();
    const QString bankPath = filePath(dir, m_names.at(i), BankSuffix);
    const QString patchPath = filePath(dir, m_names.at(i), PatchSuffix);
    if (!QFileInfo::exists(bankPath) || !QFileInfo::exists(patchPath))
        return false;
    const BankFile bankFile = BankFile::read(bankPath);
    const PatchFile patchFile = PatchFile::read(patchPath);
    if (!bankFile.valid || !patchFile.valid)
        return false;

    if (m_capture)
        m_capture->replacing(FileCapture::WholeBank);
    Brisel::Bank &bank = m_manager.bank();
    const bool withZones = bankFile.zonesImages.size() == std::size_t(StoredPatchCount);
    for (int p = 0; p < StoredPatchCount; ++p) {
        bank.patch(p).setPatchImage(bankFile.patchImages[std::size_t(p)]);
        if (withZones)
            bank.patch(p).setZonesImage(bankFile.zonesImages[std::size_t(p)]);
    }
    bank.setSettings(bankFile.settings);
    Brisel::ActivePatch &active = m_manager.activePatch();
    active.setPatchImage(patchFile.patchImage);
    if (!patchFile.zonesImage.empty())
        active.setZonesImage(patchFile.zonesImage);
    if (m_capture)
        m_capture->fileLoaded(bankPath);
    return true;
}

bool RevertManager::selectDeviceAndBackUp(const Brisel::DeviceRecord &record)
{
    const bool selected = m_manager.selectDevice(record);
    // A download that missed answers left the editor's stale values, which
    // must not push the last true copy out of the folder.
    if (selected && m_manager.isConnected() &&
        m_manager.lastDownloadAnswered() >= Brisel::RemoteControlManager::DownloadRequestCount)
        saveNow();
    return selected;
}

void RevertManager::removeFiles(const QString &folder, const QString &name) const
{
    QFile::remove(filePath(folder, name, BankSuffix));
    QFile::remove(filePath(folder, name, PatchSuffix));
}

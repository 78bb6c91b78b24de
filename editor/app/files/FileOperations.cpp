#include "editor/app/files/FileOperations.h"

#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileCapture.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/RemoteControlManager.h"

#include <QFileInfo>

using Brisel::Patch;

FileOperations::FileOperations(Brisel::RemoteControlManager &manager, FileFeedback &feedback)
    : m_manager(manager), m_feedback(feedback)
{
}

int FileOperations::resolvePosition(int position) const
{
    return position == -1 ? m_manager.currentPosition() : position;
}

void FileOperations::reportZonesPart(ZonesPart part)
{
    m_notice = zonesPartNotice(part);
    if (!m_notice.isEmpty())
        m_feedback.reportNotice(m_notice);
}

bool FileOperations::deviceTookTheLoad(const QString &what)
{
    const Brisel::TransferTally &tally = m_manager.connection().transfers();
    if (tally.taken == tally.sent)
        return true;
    m_feedback.reportLoadFailure(QStringLiteral("The controller took %1 of the %2 transfers of this %3, so it does "
                                                "not hold the %3. Store it or load the file again.")
                                     .arg(tally.taken)
                                     .arg(tally.sent)
                                     .arg(what));
    return false;
}

bool FileOperations::openFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
    if (isPatchFile(path))
        return loadPatchFile(path, m_manager.currentPosition());
    if (isBankFile(path))
        return loadBankFile(path);
    return false;
}

bool FileOperations::loadPatchFile(const QString &path, int position)
{
    m_notice.clear();
    position = resolvePosition(position);
    if (position < 0 || position >= StoredPatchCount)
        return false;
    const PatchFile file = PatchFile::read(path);
    if (!file.valid) {
        m_feedback.reportInvalidFile(QString::fromLatin1(InvalidPatchFileText));
        return false;
    }
    if (m_capture)
        m_capture->replacing(position);
    m_manager.connection().resetTransfers();
    Patch &patch = m_manager.bank().patch(position);
    patch.setPatchImage(file.patchImage);
    if (!file.zonesImage.empty())
        patch.setZonesImage(file.zonesImage);
    const bool selected = m_manager.selectPatch(position);
    if (!deviceTookTheLoad(QStringLiteral("patch")))
        return false; // the slot stays marked modified
    reportZonesPart(file.zonesPart);
    if (m_capture)
        m_capture->fileLoaded(path);
    return selected;
}

bool FileOperations::loadBankFile(const QString &path)
{
    m_notice.clear();
    const BankFile file = BankFile::read(path);
    if (!file.valid) {
        m_feedback.reportInvalidFile(QString::fromLatin1(InvalidBankFileText));
        return false;
    }
    Brisel::Bank &bank = m_manager.bank();
    if (bank.hasModifiedPatches() && !m_feedback.askToSaveBank())
        return false;
    if (m_capture)
        m_capture->replacing(FileCapture::WholeBank);
    m_manager.connection().resetTransfers();
    bank.setSettings(file.settings);
    for (int p = 0; p < StoredPatchCount; ++p)
        bank.patch(p).setPatchImage(file.patchImages[std::size_t(p)]);
    if (file.zonesImages.size() == StoredPatchCount) {
        for (int p = 0; p < StoredPatchCount; ++p)
            bank.patch(p).setZonesImage(file.zonesImages[std::size_t(p)]);
    }
    m_manager.selectPatch(m_manager.currentPosition());
    if (!deviceTookTheLoad(QStringLiteral("bank")))
        return false; // the patches stay marked modified, to be stored or loaded again
    bank.clearModified();
    reportZonesPart(file.zonesPart);
    if (m_capture)
        m_capture->fileLoaded(path);
    return true;
}

bool FileOperations::savePatchFile(const QString &path, int position)
{
    position = resolvePosition(position);
    if (position < 0 || position >= StoredPatchCount)
        return false;
    const Patch &patch = m_manager.bank().patch(position);
    const QByteArray bytes = PatchFile::toBytes(patch.patchImage(), patch.zonesImage());
    if (bytes.isEmpty() || !SysExFile::writeAll(path, bytes))
        return false;
    if (m_capture)
        m_capture->fileSaved(path);
    return true;
}

bool FileOperations::saveBankFile(const QString &path)
{
    m_manager.storeActivePatch();
    Brisel::Bank &bank = m_manager.bank();
    std::vector<std::vector<Byte>> patches, zones;
    for (int p = 0; p < StoredPatchCount; ++p) {
        const Patch &patch = bank.patch(p);
        patches.emplace_back(patch.patchImage().begin(), patch.patchImage().end());
        zones.emplace_back(patch.zonesImage().begin(), patch.zonesImage().end());
    }
    const QByteArray bytes = BankFile::toBytes(bank.settings(), patches, zones);
    if (bytes.isEmpty() || !SysExFile::writeAll(path, bytes))
        return false;
    bank.clearModified();
    if (m_capture)
        m_capture->fileSaved(path);
    return true;
}

#pragma once

#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/CBPatch.h"
#include "tests/support/ModelFixture.h"

#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <ostream>

using Image = std::vector<Byte>;

// Readable failure messages for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

// A factory patch image under a name of at most 16 characters.
inline Image namedPatch(const std::string &name)
{
    Image image(PatchImageSize);
    CBPatch &model = CBPatch::instance();
    model.initPatch(image.data());
    std::string padded = name;
    padded.resize(NameLength, ' ');
    model.setString(PatchName, padded.c_str(), image.data());
    return image;
}

inline Image factoryZones()
{
    Image image(ZonesImageSize);
    CBPatch::instance().initZones(image.data());
    return image;
}

// A bank whose patches are named prefix + slot number, current patch 1.
inline QByteArray bankBytes(const std::string &prefix)
{
    Image settings(20);
    CBPatch::instance().initBankSettings(settings.data());
    settings.resize(BankSettingsSize);
    std::vector<Image> patches, zones;
    for (int p = 0; p < StoredPatchCount; ++p) {
        patches.push_back(namedPatch(prefix + std::to_string(p + 1)));
        zones.push_back(factoryZones());
    }
    return BankFile::toBytes(settings, patches, zones);
}

inline QByteArray patchBytes(const std::string &name) { return PatchFile::toBytes(namedPatch(name), factoryZones()); }

inline QMimeData *urlData(const QList<QUrl> &urls)
{
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

struct RecordingFeedback : FileFeedback {
    void reportInvalidFile(const QString &text) override { reports.append(text); }
    void reportNotice(const QString &text) override { notices.append(text); }
    void reportLoadFailure(const QString &text) override { failures.append(text); }
    bool askToSaveBank() override
    {
        ++bankQuestions;
        return bankSaved;
    }
    QStringList reports;
    QStringList notices;
    QStringList failures;
    int bankQuestions = 0;
    bool bankSaved = true;
};

// A fresh patch model, manager and file layer, a folder for files and an
// empty user settings store.
class ViewsFixture : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QSettings().clear();
        ASSERT_TRUE(dir.isValid());
        manager = std::make_unique<Brisel::RemoteControlManager>();
        files = std::make_unique<FileOperations>(*manager, feedback);
    }

    void TearDown() override
    {
        files.reset();
        manager.reset();
    }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(SysExFile::writeAll(path, bytes));
        return path;
    }

    std::string slotName(int slot) { return manager->bank().patch(slot).name().value(); }

    // Names every stored patch after its slot and makes slot 0 current,
    // without marking anything modified.
    void nameSlots(const std::string &prefix = "P")
    {
        for (int p = 0; p < StoredPatchCount; ++p)
            manager->bank().patch(p).setPatchImage(namedPatch(prefix + std::to_string(p + 1)));
        manager->bank().clearModified();
        manager->selectPatch(0);
    }

    QTemporaryDir dir;
    RecordingFeedback feedback;
    std::unique_ptr<Brisel::RemoteControlManager> manager;
    std::unique_ptr<FileOperations> files;
};

#pragma once

#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimMidi.h"
#include "simulator/Controller.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/SimMidiControllerEndpoint.h"

#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

// A simulated controller's port that keeps a copy of every message the editor
// sends and every message the controller answers.
class RecordingEndpoint : public Platform::SimMidiControllerEndpoint
{
public:
    using Platform::SimMidiControllerEndpoint::SimMidiControllerEndpoint;

    bool bytesOut(const std::uint8_t *data, std::size_t length) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_sent.emplace_back(data, data + length);
        }
        return SimMidiControllerEndpoint::bytesOut(data, length);
    }

    Platform::MidiResult openInput(BytesIn receiver) override
    {
        return SimMidiControllerEndpoint::openInput([this, receiver](const std::uint8_t *data, std::size_t length) {
            {
                std::lock_guard lock(m_mutex);
                m_received.emplace_back(data, data + length);
            }
            receiver(data, length);
        });
    }

    std::vector<std::vector<Byte>> sent() const
    {
        std::lock_guard lock(m_mutex);
        return m_sent;
    }
    std::vector<std::vector<Byte>> received() const
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    void forget()
    {
        std::lock_guard lock(m_mutex);
        m_sent.clear();
        m_received.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::vector<Byte>> m_sent;
    std::vector<std::vector<Byte>> m_received;
};

// What one SysEx message says.
inline SysExContext parsed(std::vector<Byte> message)
{
    SysExContext context;
    context.message = message.data();
    context.length = int(message.size());
    context.deviceId = CBSysExPatch::AnyDevice;
    context.result = CBPatch::instance().sysEx().parse(context);
    return context;
}

// A manager of its own on one simulated controller of the given size.
class EditorFixture : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_settingsDir.path());
        manager = std::make_unique<Brisel::RemoteControlManager>();
    }

    void TearDown() override
    {
        manager.reset();
        Platform::installMidi(nullptr);
    }

    void attach(int keys = 49)
    {
        controller = std::make_shared<Sim::Controller>(keys);
        endpoint = std::make_shared<RecordingEndpoint>(controller);
        m_midi = std::make_unique<Platform::SimMidi>(std::vector<std::shared_ptr<Platform::SimMidiEndpoint>>{endpoint});
        Platform::installMidi(m_midi.get());
    }

    void connect(int keys = 49)
    {
        attach(keys);
        const std::vector<Brisel::DeviceRecord> found = Brisel::DeviceList::scan();
        ASSERT_EQ(found.size(), 1u);
        ASSERT_TRUE(manager->selectDevice(found[0]));
        endpoint->waitUntilDelivered(std::chrono::seconds(5));
        endpoint->forget();
    }

    // The transfers sent since the last forget(), as (command, patch number, length).
    std::vector<std::tuple<int, int, std::size_t>> transfers() const
    {
        std::vector<std::tuple<int, int, std::size_t>> list;
        for (const std::vector<Byte> &message : endpoint->sent()) {
            const SysExContext context = parsed(message);
            list.emplace_back(context.command, context.patchNumber, message.size());
        }
        return list;
    }

    template <typename W = QWidget>
    static W *child(QWidget *view, const QString &name)
    {
        W *widget = view->findChild<W *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    // Types into a field (through its validator) and presses Return.
    static void enter(QLineEdit *field, const QString &text)
    {
        field->clear();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(field, Qt::Key_Return);
    }

    Brisel::ActivePatch &active() { return manager->activePatch(); }
    Brisel::ControlParams &control(int index) { return *active().settings().control(index); }

    std::unique_ptr<Brisel::RemoteControlManager> manager;
    std::shared_ptr<Sim::Controller> controller;
    std::shared_ptr<RecordingEndpoint> endpoint;

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<Platform::SimMidi> m_midi;
};

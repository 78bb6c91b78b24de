#pragma once

#include "editor/core/RequestTargets.h"
#include "editor/core/SettingsNames.h"
#include "editor/core/model/CBPatch.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimMidi.h"
#include "simulator/Controller.h"
#include "tests/support/SimMidiControllerEndpoint.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

// Simulated controllers on simulated MIDI ports, installed as the process's
// MIDI layer, with the machine-wide settings in a temporary directory.
class SimulatedWorld
{
public:
    explicit SimulatedWorld(std::vector<int> keys = {49},
                            std::vector<std::shared_ptr<Platform::SimMidiEndpoint>> extra = {})
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_settingsDir.path());
        std::vector<std::shared_ptr<Platform::SimMidiEndpoint>> endpoints;
        for (int k : keys) {
            controllers.push_back(std::make_shared<Sim::Controller>(k));
            this->endpoints.push_back(std::make_shared<Platform::SimMidiControllerEndpoint>(controllers.back()));
            endpoints.push_back(this->endpoints.back());
        }
        endpoints.insert(endpoints.end(), extra.begin(), extra.end());
        m_midi = std::make_unique<Platform::SimMidi>(std::move(endpoints));
        Platform::installMidi(m_midi.get());
    }
    ~SimulatedWorld() { Platform::installMidi(nullptr); }

    Sim::Controller &controller(int i = 0) { return *controllers.at(std::size_t(i)); }
    bool settle(int i = 0) { return endpoints.at(std::size_t(i))->waitUntilDelivered(std::chrono::seconds(5)); }

    void setSetting(const char *key, const QVariant &value)
    {
        QSettings settings(QSettings::SystemScope, Brisel::SettingsNames::Organisation,
                           Brisel::SettingsNames::Application);
        settings.setValue(QStringLiteral("Settings/") + key, value);
        settings.sync();
    }

    void setFaults(void (*set)(Sim::Faults &), int i = 0)
    {
        Sim::Faults faults;
        set(faults);
        controller(i).setFaults(faults);
    }

    std::vector<std::shared_ptr<Sim::Controller>> controllers;
    std::vector<std::shared_ptr<Platform::SimMidiControllerEndpoint>> endpoints;

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<Platform::SimMidi> m_midi;
};

// A stored or active patch as the model would hold it: validated images and
// a count of accepted updates.
class TestPatch : public Brisel::PatchTarget
{
public:
    explicit TestPatch(int number = 0) : m_number(number)
    {
        CBPatch::instance().initPatch(patch.data());
        CBPatch::instance().initZones(zones.data());
    }
    int number() const override { return m_number; }
    bool setPatchImage(const std::vector<Byte> &image) override
    {
        PatchImage copy{};
        if (image.size() != copy.size())
            return false;
        std::copy(image.begin(), image.end(), copy.begin());
        if (!CBPatch::instance().validatePatchImage(copy.data()))
            return false;
        patch = copy;
        ++patchUpdates;
        return true;
    }
    bool setZonesImage(const std::vector<Byte> &image) override
    {
        ZonesImage copy{};
        if (image.size() != copy.size())
            return false;
        std::copy(image.begin(), image.end(), copy.begin());
        if (!CBPatch::instance().validateZonesImage(copy.data()))
            return false;
        zones = copy;
        ++zonesUpdates;
        return true;
    }
    PatchImage patch{};
    ZonesImage zones{};
    int patchUpdates = 0;
    int zonesUpdates = 0;

private:
    int m_number;
};

class TestBank : public Brisel::BankSettingsTarget
{
public:
    bool setSettings(const std::vector<Byte> &record) override
    {
        if (record.size() != std::size_t(BankSettingsSize))
            return false;
        BankSettingsRecord copy{};
        std::copy(record.begin(), record.end(), copy.begin());
        if (!CBPatch::instance().validateBankSettings(copy.data()))
            return false;
        settings = record;
        ++updates;
        return true;
    }
    std::vector<Byte> settings;
    int updates = 0;
};

// A patch image that differs from the defaults in a few places.
inline PatchImage distinctPatch(char tag)
{
    PatchImage image{};
    CBPatch::instance().initPatch(image.data());
    image[0] = Byte(tag);
    CBPatch::instance().setScalar(Octave, 6, image.data());
    return image;
}

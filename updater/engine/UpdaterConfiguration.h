#pragma once

#include "updater/core/DeviceEnumeratorManager.h"
#include "updater/core/UpdaterServices.h"
#include "updater/engine/Packager.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <memory>

namespace Platform {
class DeviceControl;
}

namespace Oxa {

// The package's configuration file read into a Packager and the database
// (UpdaterServices). Configured only when both were built.
class UpdaterConfiguration
{
public:
    // `control` serves the enumerators; null finds no devices. Relative paths
    // in the package resolve against `packageDirectory` until a file is loaded.
    UpdaterConfiguration(const QDir &packageDirectory, Platform::DeviceControl *control);
    ~UpdaterConfiguration();

    // Every failure is logged and leaves the configuration unconfigured.
    // Relative paths in the file resolve against the file's own folder.
    bool load(const QString &path);
    bool loadFromBytes(const QByteArray &bytes);
    bool configured() const { return m_packager && m_services; }

    Packager *packager() const { return m_packager.get(); }
    UpdaterServices *services() const { return m_services.get(); }
    // The title for message boxes, also when no package title was read.
    QString title() const;

private:
    void readPackager(const QDomElement &element);
    void readDatabase(const QDomElement &element);

    QDir m_directory;
    DeviceEnumeratorManager m_enumerators;
    std::unique_ptr<Packager> m_packager;
    std::unique_ptr<UpdaterServices> m_services;
    QString m_titleRead; // kept for the message when a later part fails
};

} // namespace Oxa

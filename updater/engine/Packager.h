#pragma once

#include "updater/core/OXAException.h"

#include <QDir>
#include <QDomElement>
#include <QString>

namespace Oxa {

// How the package presents itself: its title, read-me and pictures. Paths
// are resolved against the package's directory.
class Packager
{
public:
    class InvalidPackage : public OXAException
    {
    public:
        using OXAException::OXAException;
    };

    // Throws InvalidPackage for another tag or an empty title.
    Packager(const QDomElement &element, const QDir &packageDirectory);

    const QString &title() const { return m_title; }
    const QString &readme() const { return m_readme; }
    const QString &icon() const { return m_icon; }
    const QString &displayImage() const { return m_displayImage; }

private:
    void readTitle(const QDomElement &element);
    void readReadme(const QDomElement &element);
    void readIcon(const QDomElement &element);
    void readDisplayImage(const QDomElement &element);
    QString resolve(const QDomElement &element) const;

    QDir m_directory;
    QString m_title;
    QString m_readme;
    QString m_icon;
    QString m_displayImage;
};

} // namespace Oxa

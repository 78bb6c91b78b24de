#include "updater/engine/Packager.h"

#include "updater/engine/DomElementParser.h"

namespace Oxa {

Packager::Packager(const QDomElement &element, const QDir &packageDirectory) : m_directory(packageDirectory)
{
    if (element.tagName() != QLatin1String("packager"))
        throw InvalidPackage("Packager - Wrong tag");
    m_readme = m_directory.absoluteFilePath(QStringLiteral("readme.txt"));
    DomElementParser<Packager>(*this)
        .add(QStringLiteral("title"), &Packager::readTitle)
        .add(QStringLiteral("readme"), &Packager::readReadme)
        .add(QStringLiteral("icon"), &Packager::readIcon)
        .add(QStringLiteral("displayImage"), &Packager::readDisplayImage)
        .parse(element);
    if (m_title.isEmpty())
        throw InvalidPackage("Packager - Invalid data");
}

// An empty path stays empty rather than naming the directory itself.
QString Packager::resolve(const QDomElement &element) const
{
    const QString text = element.text();
    return text.isEmpty() ? QString() : m_directory.absoluteFilePath(text);
}

void Packager::readTitle(const QDomElement &element) { m_title = element.text(); }

void Packager::readReadme(const QDomElement &element) { m_readme = resolve(element); }

void Packager::readIcon(const QDomElement &element) { m_icon = resolve(element); }

void Packager::readDisplayImage(const QDomElement &element) { m_displayImage = resolve(element); }

} // namespace Oxa

#pragma once

#include <QString>

#include <functional>

// The one path by which the skin layer tells the user about a loading
// problem. By default a message box is shown; tests and fuzz targets install
// their own sink so that nothing blocks.
namespace CZelSkinMessages {

enum class Kind { Information, Warning };

using Sink = std::function<void(Kind kind, const QString &title, const QString &text)>;

// Installs a sink; an empty sink restores the message boxes. Returns the old one.
Sink setSink(Sink sink);
void show(Kind kind, const QString &title, const QString &text);

} // namespace CZelSkinMessages

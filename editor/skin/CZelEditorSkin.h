#pragma once

#include <QStringList>

class CZelSkinEngine;

// The editor's skin start-up: the five compiled-in skin files, then the
// render descriptions of the editor's elements.
namespace CZelEditorSkin {

// The 23 element names, in registration order.
const QStringList &elementNames();

// Loads strings, images, layouts, palettes and nodes from ":/files/" in that
// order, then registers one description per element name. Failures are
// reported by the engine and start-up goes on; returns whether all succeeded.
bool load(CZelSkinEngine &engine);

} // namespace CZelEditorSkin

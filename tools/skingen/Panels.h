#pragma once

#include <QImage>

// The editor's large bitmaps: the two 658 x 497 panels and the about box.
namespace Panels {

QImage patchEditor();
QImage zonesEditor();
QImage about();

} // namespace Panels

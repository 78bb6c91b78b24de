#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The bitmaps of the skinned controls, each at the size the skin's
// descriptions and the editor rely on.
namespace Controls {

QImage knobStrip();                        // 1690 x 26: 65 frames of 26 x 26, pointer over 300 degrees
QImage wheelStrip();                       // 990 x 75: 66 frames of 15 x 75
QImage checkButton();                      // 42 x 28: cells of 14 x 14
QImage spinButton(bool increment);         // 36 x 24: cells of 12 x 12
QImage velocityCurveButton(int curve);     // 240 x 132: cells of 80 x 66
QImage storeButton(bool active);           // 50 x 17
QImage led(const QColor &color, bool lit); // 16 x 16
QImage controllerMode();                   // 7 x 8
QImage zoneButton(int zone, bool on);      // 45 x 15
QImage zonesEnableButton(bool on);         // 85 x 24
QImage modeImage(const QString &text, const QColor &color);
QImage keyScale();
QImage velocityScale();
QImage appIcon(int size); // size x size, the 64-unit drawing at that size
QImage arrow(bool up);

// The zone colours of the zones display, opaque.
QColor zoneColor(int zone);

} // namespace Controls

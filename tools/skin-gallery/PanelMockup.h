#pragma once

#include <QStringList>

#include <QList>
#include <QString>

class QWidget;
class CZelRenderStyle;
class CZelSkinEngine;

// The two editor panels put together from the skin the way the editor's
// section builders do, to review the look and the layout.
namespace PanelMockup {

QWidget *patchEditor(CZelSkinEngine &engine, CZelRenderStyle *style);
QWidget *zonesEditor(CZelSkinEngine &engine, CZelRenderStyle *style);

// The layout keys a panel asked for that the skin's layouts file lacks.
QStringList missingLayoutKeys(const QWidget *panel);

} // namespace PanelMockup

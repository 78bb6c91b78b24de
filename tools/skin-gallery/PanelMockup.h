#pragma once

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

} // namespace PanelMockup

#pragma once

#include <QString>

class QWidget;

// The file commands of the menus: a dialog, then the file layer. Qt's own
// dialog on every platform; it starts in the last folder used (or the home
// folder), and the chosen file's folder becomes the last folder.
namespace FileDialogs {

inline constexpr char LoadFilter[] = "Patches and Banks (*.vpp *.vpb)";
inline constexpr char LoadPatchFilter[] = "Patches (*.vpp)";
inline constexpr char LoadBankFilter[] = "Patches (*.vpb)";
inline constexpr char SavePatchFilter[] = "Patch Files(*.vpp)";
inline constexpr char SaveBankFilter[] = "Bank Files(*.vpb)";
// The longest preset file name the save dialogs offer.
inline constexpr int MaxPresetName = 260;

// Each returns whether a file was chosen and the operation succeeded (a load
// that waits behind others in the load queue counts as succeeded).
bool load(QWidget *parent);
bool loadPatch(QWidget *parent);
bool loadBank(QWidget *parent);
// The patch at the current position, preset with its name.
bool savePatch(QWidget *parent);
// The whole bank, preset with the bank's name.
bool saveBank(QWidget *parent);

} // namespace FileDialogs

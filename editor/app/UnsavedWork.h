#pragma once

class QWidget;

// The two questions that keep unsaved work: store the modified active patch
// into its slot, and save a bank with modified patches to a file. Both are
// asked with the main window as parent when none is given; neither answer
// cancels closing or re-reading (the controller still holds the edits), but a
// bank save that was wanted and did not happen cancels a load.
namespace UnsavedWork {

inline constexpr char PatchTitle[] = "Store Patch";
inline constexpr char PatchText[] = "The current patch is modified. Do you wish to store it before continuing?";
inline constexpr char BankTitle[] = "Store Bank";
inline constexpr char BankText[] = "There are unsaved patches. Do you wish to save the bank before continuing?";

// Only when the active patch is modified: with "Auto Save" on it is stored
// without asking, otherwise on any answer but No.
void askPatchQuestion(QWidget *parent = nullptr);
// Only when the bank holds modified patches: any answer but No opens the
// bank's save dialog (which the user may still cancel). False when the user
// wanted the bank saved and it was not: a load must not replace it then.
bool askBankQuestion(QWidget *parent = nullptr);
// Patch question, then bank question: before closing, logging off and
// re-reading the device.
void askBoth(QWidget *parent = nullptr);

} // namespace UnsavedWork

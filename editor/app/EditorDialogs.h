#pragma once

class QWidget;

// The revert backups and the preferences, as the File menu reaches them.
namespace EditorDialogs {

// One revert backup now.
void saveRevert();
// The revert dialog, modal.
void revert(QWidget *parent);
// The preferences dialog, modal.
void preferences(QWidget *parent);

} // namespace EditorDialogs

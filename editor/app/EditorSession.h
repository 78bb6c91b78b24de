#pragma once

#include <QString>

// Which kind of session this process is, and where its data goes. A
// simulated session (--simulate or VORPAD_SIMULATE) keeps its per-user
// settings under an application name of its own and its files in the user's
// data folder, so it never reads, prunes or overwrites a real session's
// backups or preferences. The settings names decide: every settings access
// stays argument-free, and whoever asks here sees the same answer.
namespace EditorSession {

inline constexpr char SimulatedApplicationName[] = "ZEL Vorpad (simulated)";

// Names the per-user settings store for a real or a simulated session;
// called once at start, before anything reads a setting.
void setSimulated(bool simulated);
bool isSimulated();

// The editor's folder in the user's data directory ($XDG_DATA_HOME/vorpad),
// created on demand; empty when it cannot be created.
QString dataFolder();

// Where revert backups go when none is chosen: the home folder in a real
// session, "simulated-backups" in the data folder in a simulated one (empty
// when that cannot be created).
QString defaultBackupFolder();

} // namespace EditorSession

#pragma once

// The names the settings stores file the editor's values under: the per-user
// preferences and the machine-wide exchange tuning alike.
namespace Brisel::SettingsNames {

inline constexpr char Organisation[] = "Morvane Professional";
inline constexpr char Application[] = "ZEL Vorpad";

} // namespace Brisel::SettingsNames

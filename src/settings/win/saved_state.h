// The program's one settings store, and the state kept in it between runs: the main window's
// position, the AddCakewalkTool flag and the last track table.
#pragma once

#include <windows.h>

#include "base/track_table.h"
#include "settings/settings_store.h"

namespace mirlka {

// The settings file's image for the whole run; loaded at start-up, written only at exit.
SettingsStore& Settings();

// Moves the (still hidden) main window to its saved place, when both coordinates were saved, and
// takes the last window rectangle and the AddCakewalkTool flag.
void RestoreWindowState(HWND window);

// Position and flag into the store, the Tools-menu registration applied once more (the host's
// room does that), then the table into the store and the whole store to the file.
void SaveApplicationState(const TrackTable& table, void (*applyRegistration)());

}  // namespace mirlka

// The preset row of the main window: the name combo (an editable field over the list of saved
// presets) with its Save and Delete buttons. Presets live in the settings store until exit.
#pragma once

#include <windows.h>

#include "base/track_table.h"
#include "settings/settings_store.h"

namespace mirlka {

struct PresetControls {
    HWND window = nullptr;  // the main window: owner of the questions, and of the focus
    HWND combo = nullptr;
    HWND save = nullptr;
    HWND remove = nullptr;
};

// Stores the table under the typed name, asking first when that preset exists.
void SavePreset(const PresetControls& controls, SettingsStore& store, const TrackTable& table);

// Removes the preset of the typed name after asking, or says that there is none.
void DeletePreset(const PresetControls& controls, SettingsStore& store);

// Lists every preset in store order with an empty name field; Save and Delete end disabled.
void RefillPresetList(const PresetControls& controls, const SettingsStore& store);

// Save and Delete follow the typed name.
void UpdatePresetButtons(const PresetControls& controls);

// Loads the preset chosen from the list into the table.
void SelectPreset(const PresetControls& controls, const SettingsStore& store, TrackTable& table);

}  // namespace mirlka

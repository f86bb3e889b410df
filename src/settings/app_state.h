// The application state kept between runs in the section AppSetting: the main window's position
// and the AddCakewalkTool flag. (The track table itself is kept as the section LastState.)
#pragma once

#include <cstdint>
#include <optional>

#include "settings/settings_store.h"

namespace mirlka {

struct WindowPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// The saved top-left corner, only when both Left and Top are present; values are read as they
// stand (the window brings itself onto a display where they lie off every one).
std::optional<WindowPosition> ReadWindowPosition(const SettingsStore& store);

// The AddCakewalkTool flag: 1 when the key is missing, a non-numeric text reads as 0.
std::int32_t ReadAddToolFlag(const SettingsStore& store);

// Stores Left, Top and AddCakewalkTool, in that order, as signed decimal.
void StoreAppSettings(SettingsStore& store, const WindowPosition& position,
                      std::int32_t addCakewalkTool);

}  // namespace mirlka

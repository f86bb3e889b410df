// The program's one window: a modeless dialog of the class MiRlKaWnd made from template 101. It
// owns what the running program knows (the settings store, the AddCakewalkTool flag, the last
// window rectangle, its controls) and hands it to the other rooms as parameters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace mirlka {

// Loads the settings file at `settingsPath` (empty: none) and creates the hidden main window from
// `instance`'s template; nullptr, with the system's error code set, when it cannot be made.
// `commonControlsVersion` is the version of comctl32.dll, major in the high 16 bits.
HWND CreateMainWindow(HINSTANCE instance, const std::wstring& settingsPath,
                      std::uint32_t commonControlsVersion);

// Brings the host's Tools menu in line with the window's AddCakewalkTool flag.
void UpdateToolRegistrationOf(HWND mainWindow);

}  // namespace mirlka

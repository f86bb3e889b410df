// The few values that the whole process shares.
#pragma once

#include <windows.h>

#include <cstdint>

namespace mirlka {

struct AppGlobals {
    HINSTANCE instance = nullptr;  // the program's module: every resource comes from it
    HWND mainWindow = nullptr;     // owner of the program's message boxes and of the about box
    // Version of comctl32.dll, major in the high 16 bits; 0 until start-up has read it.
    std::uint32_t commonControlsVersion = 0;
    // Non-zero: the program keeps its entry in the host's Tools menu.
    std::int32_t addCakewalkTool = 1;
    // The main window's outer rectangle, taken at initialisation and after every move.
    RECT lastWindowRect{};
};

AppGlobals& Globals();

}  // namespace mirlka

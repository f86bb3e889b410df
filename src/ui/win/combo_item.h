// The items of a combo box.
#pragma once

#include <windows.h>

#include <string>

namespace mirlka {

// The text of item `index` of `combo`, as the narrow interface gives it; empty when there is none.
std::string ComboItemText(HWND combo, int index);

}  // namespace mirlka

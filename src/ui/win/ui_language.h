// The language of the program's face. The texts are shown through the system's ANSI code page:
// Japanese where that is Japanese (932), English elsewhere, whose texts every code page can show.
#pragma once

#include <windows.h>

namespace mirlka {

// Chosen once, from the code page the process started with.
LANGID UiLanguage();

}  // namespace mirlka

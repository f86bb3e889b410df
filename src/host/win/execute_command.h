// The Execute command of the main window: the run over DDE, with its outcome told in message boxes
// owned by `owner`, whose module holds the texts.
#pragma once

#include <windows.h>

#include "app/track_table.h"

namespace mirlka {

void RunExecute(HWND owner, const TrackTable& table);

}  // namespace mirlka

// The Execute command of the main window: the run over DDE, with its outcome told in message boxes
// owned by `owner`, whose module holds the texts.
#pragma once

#include <windows.h>

#include "base/track_table.h"

namespace mirlka {

// Returns once the host has confirmed every expression, has gone, or has stayed silent for a
// long time; the input queued meanwhile is dropped.
void RunExecute(HWND owner, const TrackTable& table);

}  // namespace mirlka

// The main window's command that saves the track table as a CAL program: the system's Save As
// dialog, then the file written durably, with a failure told in the system's own words.
#pragma once

#include <windows.h>

#include "base/track_table.h"

namespace mirlka {

// Asks for the file with dialogs owned by `owner`, whose module holds the texts; Cancel writes
// nothing. A file that is there already is replaced only after the system's question, and stays
// as it was when the write fails.
void SaveCalProgram(HWND owner, const TrackTable& table);

}  // namespace mirlka

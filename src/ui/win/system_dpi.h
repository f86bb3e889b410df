// Sizes in pixels at the system's DPI.
#pragma once

namespace mirlka {

// A size given in pixels at 96 DPI, at the system's DPI: the program declares itself DPI-aware,
// so the system no longer stretches its windows and every size it sets in pixels must grow with
// the dialog units.
int ScaleToSystemDpi(int pixels);

}  // namespace mirlka

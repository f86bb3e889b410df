#include "ui/win/system_dpi.h"

#include <windows.h>

namespace mirlka {

int ScaleToSystemDpi(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return MulDiv(pixels, dpi, 96);
}

}  // namespace mirlka

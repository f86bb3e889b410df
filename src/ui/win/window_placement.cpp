#include "ui/win/window_placement.h"

#include <vector>

#include "ui/centering.h"
#include "ui/on_screen.h"

namespace mirlka {

namespace {

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Rect WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        return ToRect(info.rcWork);
    }
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    reinterpret_cast<std::vector<Rect>*>(areas)->push_back(WorkAreaOf(monitor));
    return TRUE;
}

void MoveTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CenterWindow(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner) {
        const LONG style = GetWindowLongA(owner, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) {
            owner = nullptr;
        }
    }
    RECT own{};
    GetWindowRect(window, &own);
    const Rect area = WorkAreaOf(
        MonitorFromWindow(owner, owner ? MONITOR_DEFAULTTONEAREST : MONITOR_DEFAULTTOPRIMARY));
    Rect reference = area;
    if (owner) {
        RECT ownerRect{};
        GetWindowRect(owner, &ownerRect);
        reference = ToRect(ownerRect);
    }
    const Point at = CenteredPosition(reference, area, own.right - own.left, own.bottom - own.top);
    MoveTo(window, at.x, at.y);
}

void PlaceWindowOnScreen(HWND window, int left, int top) {
    RECT r{};
    GetWindowRect(window, &r);
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    const Point at = PlaceOnScreen({left, top}, r.right - r.left, r.bottom - r.top, areas);
    MoveTo(window, at.x, at.y);
}

}  // namespace mirlka

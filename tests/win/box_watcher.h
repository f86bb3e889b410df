// Finds the message boxes that a thread or a process shows, reads what they say and answers them,
// from a thread of its own while the code under test sits in the box's modal loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "driver/win/process.h"

namespace mirlka::test {

// A window's text through WM_GETTEXT, which also reaches controls of other processes. A target
// busy for seconds (a slow machine) is waited for; one that never answers gives an empty text.
inline std::string WindowTextOf(HWND window) {
    char text[4096];
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 30000, &copied);
    return std::string(text, copied);
}

// What a control shows in words: nothing for an icon, whose window text names its resource.
inline std::string ControlTextOf(HWND control) {
    char windowClass[16] = "";
    GetClassNameA(control, windowClass, sizeof windowClass);
    const bool icon = lstrcmpiA(windowClass, "Static") == 0 &&
                      (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    return icon ? "" : WindowTextOf(control);
}

// What a message box showed when it was found.
struct SeenBox {
    HWND window = nullptr;  // null: no box appeared in time
    HWND owner = nullptr;
    std::string title;
    std::string text;      // the message: the box's static control 0xFFFF
    RECT rect{};           // outer rectangle, screen coordinates
    bool pressed = false;  // the chosen button was on the box
    std::vector<std::pair<int, std::string>> controls{};  // each control's id and text, in order

    explicit operator bool() const { return window != nullptr; }
};

// Whose boxes to look for: one thread, or any thread of a process.
struct BoxSource {
    DWORD threadId = 0;
    DWORD processId = 0;

    static BoxSource Process(DWORD id) { return {0, id}; }
    static BoxSource ThisThread() { return {GetCurrentThreadId(), 0}; }
};

// A visible dialog (#32770, the class of message boxes) of `source` other than `except`, or null.
// Other dialogs of the source match too: watch while no other dialog of it is opening.
inline HWND FindMessageBox(const BoxSource& source, HWND except = nullptr) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));) {
        DWORD process = 0;
        const DWORD thread = GetWindowThreadProcessId(window, &process);
        if (window != except && IsWindowVisible(window) &&
            (!source.threadId || thread == source.threadId) &&
            (!source.processId || process == source.processId)) {
            return window;
        }
    }
    return nullptr;
}

// Waits on its own thread for a message box of `source`, reads it and presses `button` (IDOK,
// IDYES, IDNO …). WM_COMMAND is posted, so a box closes even when the button is not on it;
// `pressed` tells whether it was. With `every` it answers box after box until stopped.
class BoxWatcher {
  public:
    BoxWatcher(BoxSource source, int button,
               std::chrono::milliseconds timeout = std::chrono::seconds(60), HWND except = nullptr,
               bool every = false)
        : thread_([=, this] {
              const auto deadline = std::chrono::steady_clock::now() + timeout;
              while (!stop_ && (every || seen_.empty()) &&
                     std::chrono::steady_clock::now() < deadline) {
                  HWND box = FindMessageBox(source, except);
                  box ? Answer(box, button) : Sleep(10);
              }
          }) {}
    ~BoxWatcher() { Wait(); }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // What the watcher saw, once it has answered the box or given up.
    SeenBox Wait() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return seen_.empty() ? SeenBox{} : seen_.front();
    }
    // Every box answered so far; the watcher stops looking.
    std::vector<SeenBox> Stop() {
        stop_ = true;
        Wait();
        return seen_;
    }

  private:
    void Answer(HWND box, int button) {
        HWND control = GetDlgItem(box, button);
        SeenBox& seen = seen_.emplace_back(SeenBox{box, GetWindow(box, GW_OWNER), WindowTextOf(box),
                                                   WindowTextOf(GetDlgItem(box, 0xFFFF))});
        GetWindowRect(box, &seen.rect);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            seen.controls.emplace_back(GetDlgCtrlID(child), ControlTextOf(child));
        }
        seen.pressed = control != nullptr;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        driver::WaitFor([&] { return !IsWindow(box); });
    }

    std::atomic<bool> stop_{false};
    std::vector<SeenBox> seen_;
    std::thread thread_;  // last: it starts once the members that it fills exist
};

}  // namespace mirlka::test

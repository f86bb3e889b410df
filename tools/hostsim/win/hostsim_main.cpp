// The host simulator: stands in for the host sequencer's DDE service, for tests and for trying
// the channel tool without the host. See options.h for the command line.
#include <windows.h>

#include <memory>
#include <string>

#include "hostsim/win/dde_host.h"
#include "hostsim/win/options.h"

namespace mirlka::hostsim {
namespace {

constexpr char kClassName[] = "MirlkaHostSim";
constexpr char kTitle[] = "Host simulator (wincake)";

struct Window {
    HWND frame = nullptr;
    HWND text = nullptr;
    HFONT font = nullptr;
};

Window g_window;
const Options* g_options = nullptr;
const DdeHost* g_host = nullptr;

// Edit controls break lines at "\r\n" only.
void AppendLine(std::string& out, const std::string& line) {
    out += line;
    out += "\r\n";
}

std::string DescribePlaying(const Options& options) {
    std::string text = options.playing_none ? "no data" : "\"" + options.playing + "\"";
    if (options.playing_narrow) {
        text += " (8-bit in every conversation)";
    }
    if (options.playing_delay_ms > 0) {
        text += ", after " + std::to_string(options.playing_delay_ms) + " ms";
    }
    return text;
}

void ShowState() {
    if (!g_window.text || !g_host) {
        return;
    }
    const Options& options = *g_options;
    std::string text;
    AppendLine(text, "Service \"wincake\", topic \"System\".  Playing answers " +
                         DescribePlaying(options) + ".");
    AppendLine(text, std::string("Narrow conversations: ") +
                         (options.refuse_narrow ? "refused" : "accepted") +
                         ".  Executes: " + std::to_string(g_host->executes()) +
                         ", rejected: " + std::to_string(g_host->rejected()) + ".");
    AppendLine(text, "");
    AppendLine(text, "Last events:");
    if (g_host->recent().empty()) {
        AppendLine(text, "  (none yet)");
    }
    for (const std::string& line : g_host->recent()) {
        AppendLine(text, "  " + line);
    }
    AppendLine(text, "");
    AppendLine(text, "Song (" + std::to_string(g_host->song().tracks.size()) + " tracks):");
    const std::string song = RenderSong(g_host->song());
    for (std::size_t start = 0; start < song.size();) {
        const std::size_t end = song.find('\n', start);
        AppendLine(text, "  " + song.substr(start, end - start));
        start = end == std::string::npos ? song.size() : end + 1;
    }
    SetWindowTextA(g_window.text, text.c_str());
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            g_window.text =
                CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                    ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
            g_window.font = CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, nullptr);
            SendMessageA(g_window.text, WM_SETFONT, reinterpret_cast<WPARAM>(g_window.font), FALSE);
            SendMessageA(g_window.text, EM_SETLIMITTEXT, 0, 0);
            return 0;
        case WM_SIZE:
            MoveWindow(g_window.text, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(g_window.text);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool CreateFrame(HINSTANCE instance) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = FrameProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));      // IDI_APPLICATION
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassA(&window_class)) {
        return false;
    }
    g_window.frame = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                     CW_USEDEFAULT, 860, 600, nullptr, nullptr, instance, nullptr);
    return g_window.frame != nullptr;
}

int Run(HINSTANCE instance) {
    Options options;
    std::string error;
    if (!ParseOptions(GetCommandLineA(), options, error)) {
        if (!options.hidden) {
            MessageBoxA(nullptr, (error + "\n\n" + std::string(kUsage)).c_str(), kTitle,
                        MB_ICONERROR);
        }
        return 2;
    }
    g_options = &options;
    if (!CreateFrame(instance)) {
        return 1;
    }
    int exit_code = 0;
    {
        DdeHost host(options, ShowState);
        g_host = &host;
        if (!host.Start(error)) {
            if (!options.hidden) {
                MessageBoxA(nullptr, error.c_str(), kTitle, MB_ICONERROR);
            }
            DestroyWindow(g_window.frame);
            g_host = nullptr;
            return 1;
        }
        if (!options.ready_path.empty()) {
            HANDLE ready = CreateFileA(options.ready_path.c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (ready != INVALID_HANDLE_VALUE) {
                CloseHandle(ready);
            }
        }
        ShowState();
        if (!options.hidden) {
            ShowWindow(g_window.frame, SW_SHOWNORMAL);
        }
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        exit_code = static_cast<int>(message.wParam);
        g_host = nullptr;
    }
    if (g_window.font) {
        DeleteObject(g_window.font);
    }
    return exit_code;
}

}  // namespace
}  // namespace mirlka::hostsim

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return mirlka::hostsim::Run(instance);
}

// A short session with mirlka.exe against the host simulator, played as a user would: rows get
// channels from the channel combo and from the popup menu, Reset List pressed by mistake is taken
// back with Ctrl+Z, a preset is saved, Execute is pressed and the about box opened. It prints the
// simulator's song before and after and checks that the assigned tracks, and only they, changed
// channel with all their events.
//   demo.exe SIGNAL_FOLDER
// At each moment worth a picture it prints "shot NAME LEFT TOP RIGHT BOTTOM" (the screen rectangle
// to keep) and goes on once the file NAME.taken appears in SIGNAL_FOLDER. Every wait has a time
// limit; on a miss it says what it waited for and exits with 1, ending what it started.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/win/app_driver.h"
#include "driver/win/host_sim.h"
#include "res/resource.h"

namespace mirlka::demo {
namespace {

using namespace mirlka::driver;

constexpr DWORD kWaitMs = 60000;
constexpr int kTracks = 16;

// The simulator's window at the left, the tool's to its right: side by side on the display.
constexpr int kHostLeft = 8, kHostTop = 8, kHostWidth = 620, kHostHeight = 640;
constexpr char kSettings[] = "[AppSetting]\r\nLeft=660\r\nTop=8\r\n";
constexpr char kPresetName[] = "Strings";

struct Missed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Expect(bool happened, const std::string& what) {
    if (!happened) {
        throw Missed(what);
    }
}

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Another process's window, once it has handled what was sent before and painted.
void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
    Sleep(400);
}

class Camera {
  public:
    explicit Camera(std::string folder) : folder_(std::move(folder)) {}

    void Shot(const char* name, const RECT& rect) const {
        char line[160];
        std::snprintf(line, sizeof line, "shot %s %ld %ld %ld %ld", name, rect.left, rect.top,
                      rect.right, rect.bottom);
        Say(line);
        const std::string taken = folder_ + name + ".taken";
        Expect(WaitFor([&] { return GetFileAttributesA(taken.c_str()) != INVALID_FILE_ATTRIBUTES; },
                       kWaitMs),
               std::string("the screenshot ") + name);
    }

  private:
    std::string folder_;
};

void PrintSong(const char* title, const std::vector<std::string>& lines) {
    Say(title);
    for (const std::string& line : lines) {
        Say("  " + line);
    }
}

// Each assigned track must be on its channel with every event; every other track as it was.
// The simulator counts tracks and channels from 0: the tool's row 2, channel 10 is its Track 1,
// chan 9.
bool ReportChanges(const App& app, const std::vector<SongTrack>& before,
                   const std::vector<SongTrack>& after) {
    bool right =
        before.size() == static_cast<std::size_t>(kTracks) && after.size() == before.size();
    Say("Tracks that changed (the tool's numbering; the simulator counts from 0):");
    for (std::size_t i = 0; right && i < after.size(); ++i) {
        const SongTrack &was = before[i], &is = after[i];
        const int channel = app.Entry(static_cast<int>(i));
        right = channel == 0 ? is.channel == was.channel && is.onChannel == was.onChannel
                             : is.channel == channel - 1 && is.onChannel == is.events;
        if (channel != 0 || is.channel != was.channel) {
            Say("  track " + std::to_string(i + 1) + ": channel " +
                std::to_string(was.channel + 1) + " -> " + std::to_string(is.channel + 1) +
                ", events on its channel " + std::to_string(was.onChannel) + " of " +
                std::to_string(was.events) + " -> " + std::to_string(is.onChannel) + " of " +
                std::to_string(is.events) + (right ? "" : "  WRONG"));
        }
    }
    return right;
}

// Selects `rows` and gives them `channel` (1 to 16) with the channel combo.
void AssignWithCombo(const App& app, const std::vector<int>& rows, int channel) {
    app.SelectRows(rows);
    Expect(app.WaitForChannelChoice(0), "the channel combo to follow the selection");
    app.Choose(IDC_CHANNEL, channel);
    Say("Rows " + std::to_string(rows.front() + 1) + " to " + std::to_string(rows.back() + 1) +
        ": channel " + std::to_string(channel) + " from the channel combo.");
}

// Selects `rows` and gives them `channel` from the popup menu, opened and walked with the keys.
void AssignWithMenu(const App& app, const Camera& camera, const std::vector<int>& rows,
                    int channel) {
    app.SelectRows(rows);
    Expect(app.WaitForChannelChoice(0), "the channel combo to follow the selection");
    PostMessageA(app.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)),
                 -1);
    Expect(WaitFor([&] { return app.OpenMenu() != nullptr; }, kWaitMs), "the popup menu");
    for (int step = 0; step <= channel; ++step) {  // the blank item first; the separator is skipped
        app.PressKey(VK_DOWN);
    }
    Settle(app.window());
    RECT both{};
    const RECT window = RectOf(app.window()), menu = RectOf(app.OpenMenu());
    UnionRect(&both, &window, &menu);
    camera.Shot("popup-menu", both);
    app.PressKey(VK_RETURN);
    Expect(WaitFor([&] { return app.Entry(rows.front()) == channel; }, kWaitMs),
           "the popup menu's choice to reach the list");
    Say("Rows " + std::to_string(rows.front() + 1) + " to " + std::to_string(rows.back() + 1) +
        ": channel " + std::to_string(channel) + " from the popup menu.");
}

// Reset List pressed by mistake, and taken back with Ctrl+Z in the list.
void UndoAReset(const App& app, const std::vector<int>& assigned) {
    const auto values = [&] {
        std::vector<std::int32_t> entries;
        for (const int row : assigned) {
            entries.push_back(app.Entry(row));
        }
        return entries;
    };
    const std::vector<std::int32_t> before = values();
    app.Click(IDC_RESET);
    Expect(values() == std::vector<std::int32_t>(assigned.size()), "Reset List to clear the rows");
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)), TRUE);
    app.PressKeys({VK_CONTROL, 'Z'});
    Expect(WaitFor([&] { return values() == before; }, kWaitMs), "Ctrl+Z to bring the rows back");
    Say("Reset List pressed by mistake; Ctrl+Z brought the rows back.");
}

void SavePreset(const App& app, const Camera& camera) {
    app.TypePresetName(kPresetName);
    Expect(IsWindowEnabled(app.Control(IDC_PRESET_SAVE)) != FALSE,
           "the Save button to take the typed name");
    // Back to the list, as a click in it would, so that its selection shows in full colour.
    PostMessageA(app.window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)),
                 TRUE);
    Settle(app.window());
    camera.Shot("main-window", RectOf(app.window()));
    app.Click(IDC_PRESET_SAVE);
    const std::vector<std::string> presets = app.ComboItems(IDC_PRESET);
    Expect(presets == std::vector<std::string>{kPresetName},
           "the preset list to hold the new preset");
    Say(std::string("Preset \"") + kPresetName + "\" saved.");
}

// Opened as the Help menu does it; posted, since the box runs a modal loop of its own.
void ShowAboutBox(const App& app, const Camera& camera) {
    PostMessageA(app.window(), WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    Expect(WaitFor([&] { return (about = VisibleWindowOf(app.processId(), "#32770")) != nullptr; },
                   kWaitMs),
           "the about box");
    Settle(about);
    camera.Shot("about-box", RectOf(about));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    Expect(WaitFor([&] { return !IsWindow(about); }, kWaitMs), "the about box to close");
}

bool Run(const Camera& camera) {
    HostSim host("--tracks " + std::to_string(kTracks), true);
    Expect(host.WaitReady(kWaitMs), "the host simulator's DDE service");
    HWND hostWindow = nullptr;
    Expect(WaitFor(
               [&] {
                   return (hostWindow = VisibleWindowOf(GetProcessId(host.process()),
                                                        "MirlkaHostSim")) != nullptr;
               },
               kWaitMs),
           "the host simulator's window");
    SetWindowPos(hostWindow, nullptr, kHostLeft, kHostTop, kHostWidth, kHostHeight, SWP_NOZORDER);
    const std::vector<SongTrack> before = host.Song();
    PrintSong("The simulator's song before Execute:", host.SongLines());
    Settle(hostWindow);
    camera.Shot("host-before", RectOf(hostWindow));

    AppCopy copy{std::string(kSettings)};
    App app(copy);
    Expect(app.window() != nullptr, "mirlka.exe's main window");
    AssignWithCombo(app, {1, 2, 3}, 10);
    AssignWithMenu(app, camera, {7, 8}, 5);
    UndoAReset(app, {1, 2, 3, 7, 8});
    SavePreset(app, camera);

    app.Click(IDC_EXECUTE);
    const std::vector<std::string> log = host.LogAfterDisconnect(kWaitMs);
    Expect(!log.empty() && log.back() == "disconnect", "Execute's conversation to end");
    Say("Execute pressed: " + std::to_string(host.Executes().size()) +
        " CAL expressions reached the simulator.");
    PrintSong("The simulator's song after Execute:", host.SongLines());
    Settle(hostWindow);
    camera.Shot("host-after", RectOf(hostWindow));
    const bool right = ReportChanges(app, before, host.Song());

    ShowAboutBox(app, camera);
    Expect(app.Close(), "mirlka.exe to end after its window was closed");
    return right;
}

}  // namespace
}  // namespace mirlka::demo

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo SIGNAL_FOLDER\n");
        return 2;
    }
    try {
        if (!mirlka::demo::Run(mirlka::demo::Camera(std::string(argv[1]) + "\\"))) {
            std::fprintf(stderr, "demo: the song does not show the assignments\n");
            return 1;
        }
    } catch (const mirlka::demo::Missed& missed) {
        std::fprintf(stderr, "demo: gave up waiting for %s\n", missed.what());
        return 1;
    }
    std::printf("demo: done\n");
    return 0;
}

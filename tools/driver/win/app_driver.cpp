#include "driver/win/app_driver.h"

#include <commctrl.h>

#include <cstddef>

#include "res/resource.h"

namespace mirlka::driver {
namespace {

constexpr char kToolKey[] = MIRLKA_TOOL_KEY;
constexpr DWORD kSendTimeoutMs = 30000;
// How long the program may take to show its window and to end once closed: bounds, not delays,
// generous enough for a settings file of 20 MB on an emulated machine.
constexpr DWORD kStartMs = 120000;
constexpr DWORD kEndMs = 60000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Sends a list-view message whose argument the system does not carry across processes: `data`
// is placed in the program's memory (`fix` may point it at itself there) and read back after.
template <typename T>
LRESULT SendThere(HANDLE process, HWND list, UINT message, WPARAM wParam, T& data,
                  void (*fix)(T&, char*) = nullptr) {
    auto* there = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof data, MEM_COMMIT, PAGE_READWRITE));
    if (fix) {
        fix(data, there);
    }
    WriteProcessMemory(process, there, &data, sizeof data, nullptr);
    const LRESULT result = Send(list, message, wParam, reinterpret_cast<LPARAM>(there));
    ReadProcessMemory(process, there, &data, sizeof data, nullptr);
    VirtualFreeEx(process, there, 0, MEM_RELEASE);
    return result;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

}  // namespace

bool ToolKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kToolKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void DeleteToolKey() {
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kToolKey, KEY_WOW64_32KEY, 0);
}

AppCopy::AppCopy(const std::optional<std::string>& settings, const char* exeName,
                 std::size_t folderLength, const std::wstring& folderName)
    : exeName_(Wide(exeName)) {
    while (folder_.size() < folderLength) {
        const std::size_t rest = folderLength - folder_.size() - 1;
        folder_ += std::wstring(rest > 60 ? 50 : rest, L'd') + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    if (!folderName.empty()) {
        folder_ += folderName + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    CopyFileW(Wide(BesideExe("mirlka.exe")).c_str(), ExePath().c_str(), FALSE);
    if (settings) {
        HANDLE file = CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, settings->data(), static_cast<DWORD>(settings->size()), &written, nullptr);
        CloseHandle(file);
    }
}

std::optional<std::string> AppCopy::Settings() const {
    return ReadFileBytes(SettingsPath());
}

std::optional<DWORD> App::RunToEnd(const AppCopy& copy, DWORD timeoutMs) {
    Process process(copy.ExePath(), Quoted(copy.ExePath()));
    DWORD code = 0;
    if (WaitForSingleObject(process.handle(), timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.handle(), &code)) {
        return std::nullopt;
    }
    return code;
}

App::App(const AppCopy& copy) : process_(copy.ExePath(), Quoted(copy.ExePath())) {
    WaitFor(
        [&] { return (window_ = VisibleWindowOf(processId(), MIRLKA_WINDOW_CLASS)) != nullptr; },
        kStartMs);
}

HWND App::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndFocus;
}

LRESULT App::SendToWindow(UINT message, WPARAM wParam, LPARAM lParam) const {
    return Send(window_, message, wParam, lParam);
}

std::int32_t App::Entry(int row) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendThere(process_.handle(), Control(IDC_TRACKLIST), LVM_GETITEMA, 0, item);
    return static_cast<std::int32_t>(item.lParam);
}

std::string App::ColumnTitle(int column) const {
    struct ColumnText {
        LVCOLUMNA column;
        char text[64];
    } data{};
    data.column.mask = LVCF_TEXT;
    data.column.cchTextMax = sizeof data.text;
    SendThere(
        process_.handle(), Control(IDC_TRACKLIST), LVM_GETCOLUMNA, static_cast<WPARAM>(column),
        data,
        +[](ColumnText& d, char* there) { d.column.pszText = there + offsetof(ColumnText, text); });
    return data.text;
}

std::string App::ChannelText(int row) const {
    struct ItemText {
        LVITEMA item;
        char text[32];
    } data{};
    data.item.iSubItem = 1;
    data.item.cchTextMax = sizeof data.text;
    const LRESULT length = SendThere(
        process_.handle(), Control(IDC_TRACKLIST), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), data,
        +[](ItemText& d, char* there) { d.item.pszText = there + offsetof(ItemText, text); });
    return std::string(data.text, static_cast<std::size_t>(length));
}

bool App::IsSelected(int row) const {
    return Send(Control(IDC_TRACKLIST), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
           LVIS_SELECTED;
}

int App::RowCount() const {
    return static_cast<int>(Send(Control(IDC_TRACKLIST), LVM_GETITEMCOUNT, 0, 0));
}

RECT App::RowRect(int row) const {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    SendThere(process_.handle(), Control(IDC_TRACKLIST), LVM_GETITEMRECT, static_cast<WPARAM>(row),
              rect);
    MapWindowPoints(Control(IDC_TRACKLIST), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void App::SelectRows(const std::vector<int>& rows) const {
    LVITEMA item{};
    for (std::size_t i = 0; i <= rows.size(); ++i) {  // first every row cleared
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendThere(process_.handle(), Control(IDC_TRACKLIST), LVM_SETITEMSTATE,
                  static_cast<WPARAM>(i == 0 ? -1 : rows[i - 1]), item);
        item.state = LVIS_SELECTED | (i + 1 == rows.size() ? LVIS_FOCUSED : 0);
    }
    // Past the refresh that follows the last change, so that no refresh of a state in between
    // is taken for the final one.
    Sleep(200);
}

int App::ComboChoice(int id) const {
    return static_cast<int>(Send(Control(id), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> App::ComboItems(int id) const {
    // Across processes the list items come back as UTF-16 whichever call asks for them.
    std::vector<std::string> items;
    const auto count = static_cast<int>(Send(Control(id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(Control(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_NORMAL,
                            kSendTimeoutMs, &length);
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(Control(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL, kSendTimeoutMs,
                            &copied);
        std::string text(copied * 2, '\0');
        text.resize(static_cast<std::size_t>(
            WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(copied), text.data(),
                                static_cast<int>(text.size()), nullptr, nullptr)));
        items.push_back(text);
    }
    return items;
}

void App::Choose(int id, int index) const {
    Send(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Command(id, CBN_SELCHANGE);
}

void App::TypePresetName(const std::string& text) const {
    Send(Control(IDC_PRESET), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Command(IDC_PRESET, CBN_EDITUPDATE);
}

void App::Command(int id, int code) const {
    Send(window_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(id)));
}

HWND App::OpenMenu() const {
    HWND popup = FindWindowA("#32768", nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(popup, &process);
    return popup && IsWindowVisible(popup) && process == processId() ? popup : nullptr;
}

void App::PressKey(WORD key) const {
    // The menu's own loop takes keys from the thread's queue, whichever window they are for.
    PostMessageA(window_, WM_KEYDOWN, key, 1);
}

void App::PressKeys(std::initializer_list<WORD> keys) const {
    SetForegroundWindow(window_);
    std::vector<INPUT> inputs(keys.size() * 2);
    std::size_t i = 0;
    for (const WORD key : keys) {
        inputs[i].type = inputs[inputs.size() - 1 - i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = inputs[inputs.size() - 1 - i].ki.wVk = key;
        inputs[inputs.size() - 1 - i++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool App::ChooseMenuItem(char menuKey, char itemKey) const {
    PostMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, menuKey);
    const bool opened = WaitFor([&] { return OpenMenu() != nullptr; });
    PostMessageA(window_, WM_CHAR, static_cast<WPARAM>(itemKey), 0);
    return opened;
}

HWND App::SaveCalProgramAs(const std::wstring& name) const {
    ChooseMenuItem('f', 's');
    HWND dialog = nullptr;
    GUITHREADINFO info{sizeof info, 0, {}, {}, {}, {}, {}, {}, {}};
    WaitFor([&] {  // once the name field has the focus
        dialog = VisibleWindowOf(processId(), "#32770");
        return dialog && GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
               GetAncestor(info.hwndFocus, GA_ROOT) == dialog;
    });
    SendMessageW(info.hwndFocus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return dialog;
}

void App::Click(int id) const {
    Send(Control(id), BM_CLICK, 0, 0);
}

bool App::WaitForChannelChoice(int expected) const {
    return WaitFor([&] { return ComboChoice(IDC_CHANNEL) == expected; });
}

bool App::Close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.handle(), kEndMs) == WAIT_OBJECT_0;
}

}  // namespace mirlka::driver

// What the demo, the benchmarks and the end-to-end tests need to run Windows programs side by side:
// files beside the running program, temporary folders and processes that are always cleaned up,
// and the lines of a log another process is still writing.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "settings/settings_file.h"

namespace mirlka::driver {

inline std::string ThisExe() {
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

// The folder part of a path, with its trailing backslash.
inline std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string BesideExe(const char* name) {
    return FolderOf(ThisExe()) + name;
}

// A text of the ANSI code page, or of `codePage`, in UTF-16.
inline std::wstring Wide(std::string_view text, UINT codePage = CP_ACP) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

// All bytes of the file at `path`, read as the program reads its settings file; nothing when it
// cannot be opened.
inline std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes) ? std::optional(std::move(bytes)) : std::nullopt;
}

// A new folder below the temporary folder (long form, trailing backslash), removed with all it
// holds when the guard ends.
class TempFolder {
  public:
    explicit TempFolder(const char* stem) {
        static int serial = 0;
        char temp[MAX_PATH], longTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetLongPathNameA(temp, longTemp, MAX_PATH);
        path_ = std::string(longTemp) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const char* name) const { return path_ + name; }

  private:
    std::string path_;
};

// A process started here, terminated by its handle when the guard ends.
class Process {
  public:
    Process(const std::string& exe, std::string commandLine) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info_)) {
            info_ = {};
        }
    }
    Process(const std::wstring& exe, std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info_)) {
            info_ = {};
        }
    }
    ~Process() {
        if (info_.hProcess) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    HANDLE handle() const { return info_.hProcess; }
    bool Exited() const {
        return !info_.hProcess || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
    }

  private:
    PROCESS_INFORMATION info_{};
};

// A visible top-level window of this class that belongs to `process`, or null.
inline HWND VisibleWindowOf(DWORD process, const char* windowClass) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, windowClass, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Polls until `done` holds or `ms` have passed. The default bound costs time only when something
// is wrong, and is generous enough for an emulated machine under load.
template <typename Done>
bool WaitFor(Done done, DWORD ms = 60000) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(20)) {
        if (GetTickCount() - start > ms) {
            return false;
        }
    }
    return true;
}

// The complete lines of a file another process may still be writing: a line without its line
// feed is not there yet.
inline std::vector<std::string> ReadLines(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[4096];
    for (DWORD got = 0; file != INVALID_HANDLE_VALUE &&
                        ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0;) {
        text.append(buffer, got);
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
    }
    return lines;
}

}  // namespace mirlka::driver

// Scaffolding shared by the Windows tests: texts in the program's code page, files beside the test
// program, temporary folders and processes that are always cleaned up.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace mirlka::test {

// Expected texts are written in UTF-8 and compared as the program sees them: code page 932.
inline std::string ToAnsi(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr)));
    return ansi;
}

// The system's own wording of an error code, as the program would get it.
inline std::string SystemText(DWORD code) {
    char* text = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

inline std::string Hex(std::string_view bytes) {
    std::string out;
    for (unsigned char byte : bytes) {
        out += "0123456789abcdef"[byte >> 4];
        out += "0123456789abcdef"[byte & 15];
    }
    return out;
}

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

struct ModuleFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

// A program file mapped for its resources only: its string table, version block and dialogs.
inline Module LoadAsData(const std::string& path = BesideExe("mirlka.exe")) {
    return Module(LoadLibraryExA(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// `folder` (with its trailing backslash) and everything in it.
inline void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
        const std::string name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != "." && name != "..") {
                RemoveTree(folder + name + "\\");
            }
        } else {
            DeleteFileA((folder + name).c_str());
        }
    }
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
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
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const char* name) const { return path_ + name; }

  private:
    std::string path_;
};

// A process started by the test, terminated by its handle when the guard ends.
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

// Polls until `done` holds or `ms` have passed.
template <typename Done>
bool WaitFor(Done done, DWORD ms) {
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

}  // namespace mirlka::test

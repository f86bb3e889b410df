// Times the start of mirlka.exe, from CreateProcess to its visible main window, with a settings
// file of 10,000 presets against a start without one: the preset list is filled at start.
//   startup_bench [repetitions]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

HWND WindowOf(DWORD process) {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, MIRLKA_WINDOW_CLASS, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

// Seconds until the main window shows, or a negative number when it did not within 60 s.
double TimeStart(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + exe + "\"";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 60000 && !(window = WindowOf(info.dwProcessId)); ++i) {
        Sleep(1);
    }
    QueryPerformanceCounter(&now);
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return window ? double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart) : -1;
}

double MedianStart(const std::string& exe, const std::string& ini, const std::string& settings,
                   int repetitions) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        HANDLE file =
            CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, settings.data(), DWORD(settings.size()), &written, nullptr);
        CloseHandle(file);
        times.push_back(TimeStart(exe));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "mirlka-startup-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "mirlka.exe";
    const std::string ini = folder + "mirlka.ini";
    CopyFileA((Folder(self) + "mirlka.exe").c_str(), exe.c_str(), FALSE);

    std::string presets;
    for (int p = 0; p < 10000; ++p) {
        presets += "[Preset " + std::to_string(p) + "]\r\n";
        for (int row = 1; row <= 256; ++row) {
            presets += std::to_string(row) + "=" + std::to_string(1 + (p + row) % 16) + "\r\n";
        }
    }
    const double empty = MedianStart(exe, ini, "", repetitions);
    const double big = MedianStart(exe, ini, presets, repetitions);
    std::printf(
        "start-up, median of %d: empty settings file %.3f s, 10,000 presets (%.1f MB) "
        "%.3f s: %.2f x\n",
        repetitions, empty, double(presets.size()) / 1e6, big, big / empty);
    DeleteFileA(ini.c_str());
    DeleteFileA((ini + ".tmp").c_str());
    DeleteFileA(exe.c_str());
    RemoveDirectoryA(folder.c_str());
    return empty > 0 && big > 0 ? 0 : 1;
}

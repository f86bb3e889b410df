// The host simulator (hostsim.exe, beside the test program) as a separate process: started in a
// folder of its own, read through its event log and its rendered song, and always ended by handle.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace mirlka::test {

// The folder of the running program, with its trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string ReadWholeFile(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
}

// Complete lines only: a line still being written has no line feed yet.
inline std::vector<std::string> ReadLines(const std::string& path) {
    const std::string text = ReadWholeFile(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

inline std::string Hex(std::string_view bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : bytes) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
    }
    return out;
}

// One line of the simulator's log, split into its fields.
struct HostEvent {
    std::string kind;  // connect, request, execute, disconnect
    std::string line;  // as logged
    int codepage = 0;
    bool accepted = false;  // connect
    std::string item;       // request
    int format = 0;         // request
    std::string reply;      // request: hex with the terminator, or NONE
    std::size_t size = 0;   // execute
    std::string bytes;      // execute: hex of every byte received
    bool ok = false;        // execute: result=ok

    static HostEvent Parse(const std::string& line) {
        HostEvent event;
        event.line = line;
        std::size_t start = 0;
        while (start <= line.size()) {
            std::size_t end = line.find(' ', start);
            end = end == std::string::npos ? line.size() : end;
            const std::string field = line.substr(start, end - start);
            const std::size_t equals = field.find('=');
            if (start == 0) {
                event.kind = field;
            } else if (equals != std::string::npos) {
                event.Set(field.substr(0, equals), field.substr(equals + 1));
            }
            start = end + 1;
        }
        return event;
    }

  private:
    void Set(const std::string& key, const std::string& value) {
        const long number = std::strtol(value.c_str(), nullptr, 10);
        if (key == "codepage") {
            codepage = static_cast<int>(number);
        } else if (key == "accepted") {
            accepted = value == "1";
        } else if (key == "item") {
            item = value;
        } else if (key == "format") {
            format = static_cast<int>(number);
        } else if (key == "reply") {
            reply = value;
        } else if (key == "size") {
            size = static_cast<std::size_t>(number);
        } else if (key == "bytes") {
            bytes = value;
        } else if (key == "result") {
            ok = value == "ok";
        }
    }
};

// "Track <i>: chan <c>, <n> events, <k> on chan"
struct SongTrack {
    int index = -1;
    int channel = -1;
    int events = -1;
    int onChannel = -1;

    static SongTrack Parse(const std::string& line) {
        SongTrack track;
        const int fields =
            std::sscanf(line.c_str(), "Track %d: chan %d, %d events, %d on chan", &track.index,
                        &track.channel, &track.events, &track.onChannel);
        return fields == 4 ? track : SongTrack{};
    }
};

// Polls until `done` holds or `ms` have passed.
template <typename Done>
bool WaitFor(Done done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

class HostSim {
  public:
    // `options` are added to the command line after the simulator's files and --hidden.
    explicit HostSim(const std::string& options) {
        static int serial = 0;
        char temp[MAX_PATH];
        folder_ = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "mirlka-hostsim-" +
                  std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string exe = ProgramFolder() + "hostsim.exe";
        std::string command = "\"" + exe + "\" --hidden --log \"" + LogPath() + "\" --song \"" +
                              SongPath() + "\" --ready \"" + ReadyPath() + "\" " + options;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.c_str(), &startup, &process_)) {
            process_ = {};
        }
    }
    ~HostSim() {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        for (const std::string& file : {LogPath(), SongPath(), ReadyPath()}) {
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }
    HostSim(const HostSim&) = delete;
    HostSim& operator=(const HostSim&) = delete;

    // True once the service is registered; false when the process ended or took too long.
    bool WaitReady(DWORD ms = 30000) const {
        return process_.hProcess != nullptr &&
               WaitFor(
                   [&] {
                       return GetFileAttributesA(ReadyPath().c_str()) != INVALID_FILE_ATTRIBUTES ||
                              Exited();
                   },
                   ms) &&
               !Exited();
    }
    bool Exited() const {
        return process_.hProcess == nullptr ||
               WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    }
    HANDLE process() const { return process_.hProcess; }

    std::vector<std::string> LogLines() const { return ReadLines(LogPath()); }
    std::vector<HostEvent> Events() const {
        std::vector<HostEvent> events;
        for (const std::string& line : LogLines()) {
            events.push_back(HostEvent::Parse(line));
        }
        return events;
    }
    std::vector<HostEvent> Executes() const {
        std::vector<HostEvent> executes;
        for (HostEvent& event : Events()) {
            if (event.kind == "execute") {
                executes.push_back(std::move(event));
            }
        }
        return executes;
    }
    // The log once its last line is the end of a conversation, or as it stands after `ms`.
    std::vector<HostEvent> EventsAfterDisconnect(DWORD ms = 15000) const {
        WaitFor(
            [&] {
                const std::vector<std::string> lines = LogLines();
                return !lines.empty() && lines.back() == "disconnect";
            },
            ms);
        return Events();
    }
    std::vector<SongTrack> Song() const {
        std::vector<SongTrack> song;
        for (const std::string& line : ReadLines(SongPath())) {
            song.push_back(SongTrack::Parse(line));
        }
        return song;
    }

  private:
    std::string LogPath() const { return folder_ + "\\events.log"; }
    std::string SongPath() const { return folder_ + "\\song.txt"; }
    std::string ReadyPath() const { return folder_ + "\\ready"; }

    std::string folder_;
    PROCESS_INFORMATION process_{};
};

}  // namespace mirlka::test

// The host simulator (hostsim.exe, beside the test program) as a separate process: started in a
// folder of its own, read through its event log and its rendered song, and always ended by handle.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/win/process.h"

namespace mirlka::driver {

// "Track <i>: chan <c>, <n> events, <k> on chan"
struct SongTrack {
    int index = -1, channel = -1, events = -1, onChannel = -1;

    static SongTrack Parse(const std::string& line) {
        SongTrack track;
        const int fields =
            std::sscanf(line.c_str(), "Track %d: chan %d, %d events, %d on chan", &track.index,
                        &track.channel, &track.events, &track.onChannel);
        return fields == 4 ? track : SongTrack{};
    }
};

class HostSim {
  public:
    // `options` are added to the command line after the simulator's files and, unless the window
    // is to be seen, --hidden.
    explicit HostSim(const std::string& options, bool visible = false)
        : folder_("mirlka-hostsim"),
          process_(BesideExe("hostsim.exe"), CommandLine(options, visible)) {}

    // True once the service is registered; false when the process ended or took too long.
    bool WaitReady(DWORD ms = 30000) const {
        return WaitFor(
                   [&] {
                       return GetFileAttributesA(ReadyPath().c_str()) != INVALID_FILE_ATTRIBUTES ||
                              Exited();
                   },
                   ms) &&
               !Exited();
    }
    bool Exited() const { return process_.Exited(); }
    HANDLE process() const { return process_.handle(); }

    std::vector<std::string> LogLines() const { return ReadLines(LogPath()); }
    // The log once its last line is the end of a conversation, or as it stands after `ms`.
    std::vector<std::string> LogAfterDisconnect(DWORD ms = 15000) const {
        WaitFor(
            [&] {
                const std::vector<std::string> lines = LogLines();
                return !lines.empty() && lines.back() == "disconnect";
            },
            ms);
        return LogLines();
    }
    // The log lines of the executes received.
    std::vector<std::string> Executes() const {
        std::vector<std::string> executes;
        for (const std::string& line : LogLines()) {
            if (line.starts_with("execute ")) {
                executes.push_back(line);
            }
        }
        return executes;
    }
    std::vector<SongTrack> Song() const {
        std::vector<SongTrack> song;
        for (const std::string& line : SongLines()) {
            song.push_back(SongTrack::Parse(line));
        }
        return song;
    }
    std::vector<std::string> SongLines() const { return ReadLines(SongPath()); }

  private:
    std::string CommandLine(const std::string& options, bool visible) const {
        std::string line = "\"";
        for (const std::string& part :
             {BesideExe("hostsim.exe"),
              std::string(visible ? "\" --log \"" : "\" --hidden --log \""), LogPath(),
              std::string("\" --song \""), SongPath(), std::string("\" --ready \""), ReadyPath(),
              std::string("\" "), options}) {
            line += part;
        }
        return line;
    }
    std::string LogPath() const { return folder_ / "events.log"; }
    std::string SongPath() const { return folder_ / "song.txt"; }
    std::string ReadyPath() const { return folder_ / "ready"; }

    TempFolder folder_;  // first: the process writes into it and must end before it goes
    Process process_;
};

}  // namespace mirlka::driver

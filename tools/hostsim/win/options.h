// The simulator's command line. Tests drive the simulator through these options; a person
// trying the tool usually starts it without any.
#pragma once

#include <string>
#include <string_view>

#include "hostsim/song.h"

namespace mirlka::hostsim {

struct Options {
    std::string log_path;    // --log: one line appended per DDE event
    std::string song_path;   // --song: the rendered song, rewritten after every execute
    std::string ready_path;  // --ready: created once the service is registered
    std::string cal_path;    // --run-cal: a CAL program file run against the song at the start
    std::string playing = "No";
    bool playing_none = false;  // answer Playing with no data at all
    // --playing-narrow: answer Playing with 8-bit text in a wide conversation too, as CF_TEXT is
    bool playing_narrow = false;
    int playing_delay_ms = 0;
    int ack_delay_ms = 0;  // --ack-delay: each execute is acknowledged this late, as by a slow host
    bool refuse_narrow = false;
    int quit_after = 0;  // 0: never
    int tracks = kDefaultSongTracks;
    bool hidden = false;
};

inline constexpr std::string_view kUsage =
    "hostsim [--log <path>] [--song <path>] [--ready <path>] [--run-cal <path>] "
    "[--playing <text>] "
    "[--playing-none] [--playing-narrow] [--playing-delay <ms>] [--ack-delay <ms>] "
    "[--refuse-narrow] [--quit-after <n>] [--tracks <n>] [--hidden]";

// `command_line` is the whole line as the system keeps it, program path first. Arguments are
// split at blanks; double quotes group blanks into one argument and are removed.
bool ParseOptions(std::string_view command_line, Options& options, std::string& error);

}  // namespace mirlka::hostsim

#include "hostsim/win/options.h"

#include <charconv>
#include <vector>

namespace mirlka::hostsim {
namespace {

std::vector<std::string> SplitArguments(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size()) {
            return args;
        }
        std::string arg;
        bool quoted = false;
        for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else {
                arg += line[i];
            }
        }
        args.push_back(std::move(arg));
    }
}

bool ReadCount(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && value >= 0;
}

}  // namespace

bool ParseOptions(std::string_view command_line, Options& options, std::string& error) {
    const std::vector<std::string> args = SplitArguments(command_line);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& name = args[i];
        std::string* text = nullptr;
        int* number = nullptr;
        if (name == "--log") {
            text = &options.log_path;
        } else if (name == "--song") {
            text = &options.song_path;
        } else if (name == "--ready") {
            text = &options.ready_path;
        } else if (name == "--run-cal") {
            text = &options.cal_path;
        } else if (name == "--playing") {
            text = &options.playing;
        } else if (name == "--playing-delay") {
            number = &options.playing_delay_ms;
        } else if (name == "--ack-delay") {
            number = &options.ack_delay_ms;
        } else if (name == "--quit-after") {
            number = &options.quit_after;
        } else if (name == "--tracks") {
            number = &options.tracks;
        } else if (name == "--playing-none") {
            options.playing_none = true;
            continue;
        } else if (name == "--playing-narrow") {
            options.playing_narrow = true;
            continue;
        } else if (name == "--refuse-narrow") {
            options.refuse_narrow = true;
            continue;
        } else if (name == "--hidden") {
            options.hidden = true;
            continue;
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (++i == args.size()) {
            error = name + " needs a value";
            return false;
        }
        if (text) {
            *text = args[i];
        } else if (!ReadCount(args[i], *number)) {
            error = name + " takes a number from 0 up, not " + args[i];
            return false;
        }
    }
    if (options.tracks < 1 || options.tracks > kMaxSongTracks) {
        error = "--tracks takes 1 to " + std::to_string(kMaxSongTracks);
        return false;
    }
    return true;
}

}  // namespace mirlka::hostsim

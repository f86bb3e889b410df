// The song held by the host simulator: just enough of a sequencer's song to show what the
// channel tool did to it. Channels are the host's 0-based MIDI channels (0..15).
#pragma once

#include <string>
#include <vector>

namespace mirlka::hostsim {

inline constexpr int kMaxSongTracks = 256;
inline constexpr int kDefaultSongTracks = 16;

struct Event {
    int time = 0;  // ticks from the start of the song
    int chan = 0;
    int note = 60;

    bool operator==(const Event&) const = default;
};

struct Track {
    int chan = 0;
    std::vector<Event> events;

    bool operator==(const Track&) const = default;
};

struct Song {
    std::vector<Track> tracks;  // indexed by the host's 0-based track number

    bool operator==(const Song&) const = default;
};

// A deterministic song whose tracks hold events on several channels, so that rewriting a track's
// event channels is visible. The track count is clamped to 1..kMaxSongTracks.
Song MakeDemoSong(int track_count = kDefaultSongTracks);

// One line per track: "Track <index>: chan <c>, <n> events, <k> on chan", each ended by '\n'.
std::string RenderSong(const Song& song);

}  // namespace mirlka::hostsim

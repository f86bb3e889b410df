#include "hostsim/song.h"

#include <algorithm>

namespace mirlka::hostsim {

Song MakeDemoSong(int track_count) {
    Song song;
    song.tracks.resize(static_cast<std::size_t>(std::clamp(track_count, 1, kMaxSongTracks)));
    for (int t = 0; t < static_cast<int>(song.tracks.size()); ++t) {
        Track& track = song.tracks[static_cast<std::size_t>(t)];
        track.chan = t % 16;
        const int event_count = 3 + t % 3;
        for (int i = 0; i < event_count; ++i) {
            // The first event sits on the track's own channel and the others wander off it, the
            // usual state of a song assembled from several sources.
            track.events.push_back(Event{i * 480, (t + i * 5) % 16, 48 + (t * 7 + i * 3) % 24});
        }
    }
    return song;
}

std::string RenderSong(const Song& song) {
    std::string out;
    for (std::size_t t = 0; t < song.tracks.size(); ++t) {
        const Track& track = song.tracks[t];
        const auto on_chan = std::count_if(track.events.begin(), track.events.end(),
                                           [&](const Event& e) { return e.chan == track.chan; });
        out += "Track " + std::to_string(t) + ": chan " + std::to_string(track.chan) + ", " +
               std::to_string(track.events.size()) + " events, " + std::to_string(on_chan) +
               " on chan\n";
    }
    return out;
}

}  // namespace mirlka::hostsim

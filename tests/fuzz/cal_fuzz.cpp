// Any text a client may execute on the host simulator: a refused expression leaves the song and
// the interpreter exactly as they were, and an accepted one keeps every channel a MIDI channel.
#include <cstdlib>
#include <string>

#include "hostsim/cal_interpreter.h"

using namespace mirlka::hostsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static const Song demo = MakeDemoSong(4);
    Song song = demo;
    CalState state;
    state.selected = {false, true, false, false};
    const Song before = song;
    const CalState was = state;
    const CalResult result = ExecuteCal(text, song, state);
    bool ok = result.ok || (song == before && state.from == was.from && state.thru == was.thru &&
                            state.selected == was.selected);
    for (const Track& track : song.tracks) {
        ok = ok && track.chan >= 0 && track.chan <= 15;
        for (const Event& event : track.events) {
            ok = ok && event.chan >= 0 && event.chan <= 15;
        }
    }
    if (!ok || song.tracks.size() != before.tracks.size()) {
        std::abort();
    }
    return 0;
}

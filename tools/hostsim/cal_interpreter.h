// The part of the host's CAL language that the channel tool sends, interpreted against the
// simulator's song. Anything outside that part is refused, so a fault in the tool's texts shows
// up as a refused expression instead of being silently reinterpreted.
//
// Accepted forms (integers may be negative; names are case-sensitive; ';' starts a comment that
// runs to the end of its line, and line breaks are blanks, so a program file reads as one text):
//   (do form...)
//   (= From Now)  (= Thru Now)
//   (TrackSelect state track)     state 0 or 1; track -1 means every track
//   (TrackChannel channel track)  channel 0..15
//   (forEachEvent form...)        body: (= Event.Chan channel) and (do ...) only
//
// An expression is checked completely before anything is applied: a refused expression leaves
// the song and the interpreter state exactly as they were.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hostsim/song.h"

namespace mirlka::hostsim {

struct CalState {
    int from = 0;
    int thru = 0;
    int now = 0;
    // One flag per track; sized to the song whenever an expression is applied.
    std::vector<bool> selected;
};

struct CalResult {
    bool ok = false;
    std::string error;  // short reason when !ok
};

// Runs one narrow CAL text, an execute's or a program file's; a single trailing NUL, as a DDE
// execute carries it, is ignored.
CalResult ExecuteCal(std::string_view text, Song& song, CalState& state);

}  // namespace mirlka::hostsim

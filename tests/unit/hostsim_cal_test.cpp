#include "hostsim/cal_interpreter.h"

#include "host/cal_batch.h"

#include <string>

#include <gtest/gtest.h>

namespace mirlka::hostsim {
namespace {

// The text the channel tool really sends for track t and 0-based channel c, so that the simulator
// cannot drift from the tool.
std::string TrackExpression(int t, int c) {
    return BuildTrackExpression(t, c + 1, TextForm::Narrow).narrow;
}

void SetWholeTrack(Song& song, int t, int c) {
    Track& track = song.tracks[static_cast<std::size_t>(t)];
    track.chan = c;
    for (Event& e : track.events) {
        e.chan = c;
    }
}

// Each expression rewrites its own track only and leaves range and selection reset; a terminator
// after the text is allowed.
TEST(HostsimCal, TrackExpressionsRewriteTheirTrackOnly) {
    const std::string worked =
        "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 9 2) (TrackSelect 1 2) "
        "(forEachEvent (= Event.Chan 9) ) (TrackSelect 0 2) )";
    ASSERT_EQ(worked, TrackExpression(2, 9));
    Song song = MakeDemoSong(kMaxSongTracks);
    Song expected = song;
    CalState state{5, 7, 0, {}};
    ASSERT_TRUE(ExecuteCal(worked + '\0', song, state).ok);
    SetWholeTrack(expected, 2, 9);
    for (const auto& [t, c] : std::vector<std::pair<int, int>>{{0, 0}, {5, 15}, {255, 15}}) {
        const CalResult r = ExecuteCal(TrackExpression(t, c), song, state);
        ASSERT_TRUE(r.ok) << "track " << t << ": " << r.error;
        SetWholeTrack(expected, t, c);
    }
    ASSERT_TRUE(ExecuteCal("(do (= From Now) (= Thru Now) )", song, state).ok);
    EXPECT_EQ(song, expected);
    EXPECT_EQ(state.from, 0);
    EXPECT_EQ(state.thru, 0);
    EXPECT_EQ(state.selected, std::vector<bool>(256, false));
}

// forEachEvent touches the events of the selected tracks only; TrackSelect 0 -1 clears the
// selection and the track channels stay as they were.
TEST(HostsimCal, SelectionDecidesWhichTracksForEachEventTouches) {
    Song song = MakeDemoSong(6);
    CalState state;
    ASSERT_TRUE(ExecuteCal("(do (TrackSelect 1 1) (TrackSelect 0 -1) (TrackSelect 1 3) "
                           "(TrackSelect 1 4) (TrackSelect 0 4) (forEachEvent (= Event.Chan 4)))",
                           song, state)
                    .ok);
    Song expected = MakeDemoSong(6);
    for (Event& e : expected.tracks[3].events) {
        e.chan = 4;
    }
    EXPECT_EQ(song, expected);
}

TEST(HostsimCal, RefusedExpressionsLeaveEverythingUnchanged) {
    // Each refused text first makes changes that would be visible, had they been applied.
    const std::string pre =
        "(do (TrackChannel 3 0) (TrackSelect 1 0) (forEachEvent (= Event.Chan 3)) ";
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {pre + "(Foo 1))", "unknown function"},
        {pre + "(TrackChannel 16 2))", "channel 16"},
        {pre + "(TrackSelect 1 999))", "track 999"},
        {pre + "(TrackChannel 3 1)", "unbalanced"},
        {std::string(200, '(') + std::string(200, ')'), "too deep"},
    };
    for (const auto& c : cases) {
        Song song = MakeDemoSong();
        const Song before = song;
        CalState state{1, 2, 0, std::vector<bool>(16, true)};
        const CalResult r = ExecuteCal(c.text, song, state);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.text << " -> " << r.error;
        EXPECT_EQ(song, before) << c.text;
        EXPECT_EQ(state.from, 1);
        EXPECT_EQ(state.selected, std::vector<bool>(16, true)) << c.text;
    }
    // The prefix itself is valid: the refusals above come from their last part.
    Song song = MakeDemoSong();
    CalState state;
    EXPECT_TRUE(ExecuteCal(pre + ")", song, state).ok);
}

}  // namespace
}  // namespace mirlka::hostsim

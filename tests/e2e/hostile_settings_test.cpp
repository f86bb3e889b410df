// Settings files as users leave them after years of hand edits and copies: huge, broken or not a
// file at all. The program must start on each, and its exit must keep what the file held.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver/win/app_driver.h"
#include "settings/settings_store.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

// `count` sections named `prefix` and a number, each holding `lines`.
std::string Sections(int count, const std::string& prefix, const std::string& lines) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.append("[").append(prefix).append(std::to_string(i)).append("]\r\n").append(lines);
    }
    return text;
}

struct HostileFile {
    const char* what;
    std::string bytes;
};

TEST(HostileSettingsTest, TheProgramStartsAndKeepsWhatTheFileHeld) {
    std::string rows;
    for (int row = 1; row <= 34; ++row) {
        rows.append(std::to_string(row)).append("=7\r\n");
    }
    const HostileFile files[] = {
        {"100,000 presets in 20 MB", Sections(100000, "Preset ", rows)},
        {"a line of 1 MB", "[Long]\r\n1=" + std::string(1 << 20, '5') + "\r\n"},
        {"100,000 empty sections", Sections(100000, "", "")},
    };
    for (const HostileFile& file : files) {
        SCOPED_TRACE(file.what);
        AppCopy copy(file.bytes);
        App app(copy);
        ASSERT_TRUE(app.window());
        RECT rect{};
        GetWindowRect(app.window(), &rect);
        ASSERT_TRUE(app.Close());
        // The sections as the format keeps them, then the program's own state after them.
        const std::string kept = RenderSettings(ParseSettings(file.bytes));
        const std::string state = "[AppSetting]\r\nLeft=" + std::to_string(rect.left) +
                                  "\r\nTop=" + std::to_string(rect.top) +
                                  "\r\nAddCakewalkTool=1\r\n\r\n[LastState]\r\n";
        EXPECT_TRUE(copy.Settings() == kept + (kept.empty() ? "" : "\r\n") + state);
    }
    DeleteToolKey();
}

// A folder named mirlka.ini, and a settings path that would not fit a path buffer (x.exe in a
// folder of 250 bytes): the program runs, reads and writes nothing there, and leaves no temporary
// file beside it.
TEST(HostileSettingsTest, ASettingsPathThatIsAFolderOrTooLongIsLeftAlone) {
    const std::string held = "[LastState]\r\n1=5\r\n";
    for (const bool tooLong : {false, true}) {
        SCOPED_TRACE(tooLong);
        AppCopy copy(std::nullopt, tooLong ? "x.exe" : "mirlka.exe", tooLong ? 250 : 0);
        const std::filesystem::path settings = copy.SettingsPath();
        if (tooLong) {
            ASSERT_EQ(copy.SettingsPath().size(), std::size_t{MAX_PATH});
            std::ofstream(settings, std::ios::binary) << held;
        } else {
            std::filesystem::create_directory(settings);
        }
        App app(copy);
        ASSERT_TRUE(app.window());
        EXPECT_EQ(app.ChannelText(0), "");
        ASSERT_TRUE(app.Close());
        if (tooLong) {
            std::ifstream in(settings, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), held);
        } else {
            EXPECT_TRUE(std::filesystem::is_directory(settings));
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(copy.folder()), {}), 2);
    }
    DeleteToolKey();
}

}  // namespace
}  // namespace mirlka::test

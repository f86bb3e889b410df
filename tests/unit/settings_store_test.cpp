#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "golden.h"

namespace mirlka {
namespace {

namespace fs = std::filesystem;

TEST(ParseSettingsTest, ReadingRules) {
    const auto cases = test::ReadCases("settings-reading.txt");
    ASSERT_EQ(cases.size(), 12u);
    for (const test::Fields& c : cases) {
        EXPECT_EQ(RenderSettings(ParseSettings(c[1])), c[2]) << c[0];
    }
    const auto sections = ParseSettings("[]\n[x] \n[ a ]\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, "");
    EXPECT_EQ(sections[1].name, " a ");
}

TEST(SettingsStoreTest, FirstMatchAndCaseFolding) {
    SettingsStore store;
    store.AddSection("A").lines = {"x=1", "Left = 5", "k=a=b", "e=", "bare", "K=later"};
    store.AddSection("a").lines = {"x=2"};
    store.AddSection("\xC4").lines = {"\xC4=upper"};

    EXPECT_EQ(store.GetString("a", "X", "none"), "1");
    EXPECT_EQ(store.GetString("A", "Left", "none"), "none");
    EXPECT_EQ(store.GetString("A", "Left ", "none"), " 5");
    EXPECT_EQ(store.GetString("A", "k", "none"), "a=b");
    EXPECT_EQ(store.GetString("A", "bare", "none"), "none");
    EXPECT_EQ(store.GetString("\xC4", "\xC4", "none"), "upper");
    EXPECT_EQ(store.GetString("\xE4", "\xC4", "none"), "none");
    EXPECT_EQ(store.FindSection("\xE4"), nullptr);

    std::string value = "untouched";
    EXPECT_FALSE(store.GetValue("A", "missing", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(store.GetValue("A", "E", value));
    EXPECT_EQ(value, "");

    EXPECT_TRUE(store.DeleteSection("A"));
    EXPECT_EQ(store.GetString("a", "x", "none"), "2");
    EXPECT_TRUE(store.DeleteSection("A"));
    EXPECT_FALSE(store.DeleteSection("a"));
}

TEST(SettingsStoreTest, SetValueReplacesFirstMatchInPlaceOrAppends) {
    SettingsStore store;
    store.AddSection("S").lines = {"a=1", "noequals", "Left=1", "LEFT=9"};
    store.SetValue("s", "left", "7");
    store.SetValue("S", "new", "x=y");
    EXPECT_EQ((std::vector<std::string>{"a=1", "noequals", "left=7", "LEFT=9", "new=x=y"}),
              store.Sections()[0].lines);
    EXPECT_EQ(store.Sections()[0].name, "S");

    store.AddSection("s");  // never reuses a section of an equal name
    store.SetValue("T", "k", "v");
    ASSERT_EQ(store.Sections().size(), 3u);
    EXPECT_EQ(store.Sections()[1].lines.size(), 0u);
    EXPECT_EQ(store.Sections()[2].name, "T");
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const char* name) const { return (dir_ / name).string(); }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    // Unique per test and per run: tests may run side by side.
    const fs::path dir_ =
        fs::temp_directory_path() /
        ("mirlka_settings_" +
         std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    const bool created_ = fs::create_directories(dir_);
};

TEST_F(SettingsFileTest, LoadReplacesSectionsAndWriteUsesCrLf) {
    const std::string path = PathOf("mirlka.ini");
    WriteBytes(path, "; comment\n[S]\nk=v\n\n\n[T]\n");
    SettingsStore store;
    store.AddSection("Old");
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.FindSection("Old"), nullptr);
    ASSERT_TRUE(store.Write());
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n\r\n[T]\r\n");
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind

    store.ClearSections();
    ASSERT_TRUE(store.Write());
    EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(SettingsFileTest, FailedLoadKeepsSections) {
    SettingsStore store;
    store.AddSection("Kept");
    EXPECT_FALSE(store.Load(PathOf("missing.ini")));
    EXPECT_EQ(store.path(), PathOf("missing.ini"));
    EXPECT_FALSE(store.Load(""));
    EXPECT_EQ(store.path(), "");
    EXPECT_NE(store.FindSection("Kept"), nullptr);
    EXPECT_FALSE(store.Write());
}

// The temporary file cannot be created (a directory holds its name), or the disk fills up while it
// is written (it leads to /dev/full). A replacement that fails is pinned end to end.
TEST_F(SettingsFileTest, FailedWriteKeepsOldFile) {
    const std::string path = PathOf("mirlka.ini");
    const std::string temp = path + ".tmp";
    WriteBytes(path, "[Old]\r\nx=1\r\n");
#ifdef _WIN32
    const bool cases[] = {false};  // the full disk is staged natively, with /dev/full
#else
    const bool cases[] = {false, true};
#endif
    for (const bool full : cases) {
        if (full) {
            fs::create_symlink("/dev/full", temp);
        } else {
            fs::create_directory(temp);
        }
        SettingsStore store(path);
        store.SetValue("New", "y", std::string(100000, 'v'));
        EXPECT_FALSE(store.Write()) << full;
        EXPECT_EQ(ReadBytes(path), "[Old]\r\nx=1\r\n") << full;
        EXPECT_EQ(fs::is_directory(temp), !full) << "only the temporary file is removed";
        fs::remove(temp);
        EXPECT_EQ(EntryCount(), 1u);  // nothing else was left behind
    }
}

}  // namespace
}  // namespace mirlka

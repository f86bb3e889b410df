#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace mirlka {
namespace {

namespace fs = std::filesystem;

// How names compare is in the presets' tables; these tests are about the file.
constexpr LeadByteFn kNoLeadBytes = [](unsigned char) { return false; };

// What the reader keeps of a whole file is in the core's tables. Look-ups, changes and the
// first-match and case rules of the store are checked against a plain model by the settings fuzz
// target.

class SettingsFileTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir_); }

    // The platform's own form: UTF-16 on Windows, as the store takes it.
    NativePath PathOf(const char* name) const { return (dir_ / name).native(); }
    static std::string ReadBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const fs::path& path, std::string_view bytes) {
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

// A failed load keeps the sections and takes the path (none for an empty one); a load that reads
// replaces them.
TEST_F(SettingsFileTest, LoadReplacesSectionsOnlyWhenItReadsAndWriteUsesCrLf) {
    SettingsStore store(kNoLeadBytes);
    store.AddSection("Kept");
    EXPECT_FALSE(store.Load({}));
    EXPECT_FALSE(store.Write());
    EXPECT_FALSE(store.Load(PathOf("missing.ini")));
    EXPECT_NE(store.FindSection("Kept"), nullptr);
    EXPECT_TRUE(store.Write() && fs::remove(PathOf("missing.ini")));  // the path was taken

    const NativePath path = PathOf("mirlka.ini");
    // A NUL is a byte like any other.
    WriteBytes(path, std::string("; comment\n[S]\nk=v\0w\n\n\n[T]\n", 26));
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.FindSection("Kept"), nullptr);
    ASSERT_TRUE(store.Write());
    EXPECT_EQ(ReadBytes(path), std::string("[S]\r\nk=v\0w\r\n\r\n[T]\r\n", 19));
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind

    store.DeleteSection("S");
    store.DeleteSection("T");
    ASSERT_TRUE(store.Write());
    EXPECT_EQ(ReadBytes(path), "");
}

// The temporary file cannot be created (a directory holds its name), the disk fills up while it is
// written (it leads to /dev/full), or on Windows the old file is held open and cannot be replaced.
TEST_F(SettingsFileTest, FailedWriteKeepsOldFile) {
    const NativePath path = PathOf("mirlka.ini");
    const fs::path temp = PathOf("mirlka.ini.tmp");
    WriteBytes(path, "[Old]\r\nx=1\r\n");
#ifdef _WIN32
    const std::string cases[] = {"blocked", "held"};
#else
    const std::string cases[] = {"blocked", "full"};
#endif
    for (const std::string& how : cases) {
        std::ifstream held;
        if (how == "blocked") {
            fs::create_directory(temp);
        } else if (how == "full") {
            fs::create_symlink("/dev/full", temp);
        } else {
            held.open(fs::path(path), std::ios::binary);
        }
        SettingsStore store(kNoLeadBytes);
        store.Load(path);
        store.SetValue("New", "y", std::string(100000, 'v'));
        EXPECT_FALSE(store.Write()) << how;
        held.close();
        EXPECT_EQ(ReadBytes(path), "[Old]\r\nx=1\r\n") << how;
        EXPECT_EQ(fs::is_directory(temp), how == "blocked") << "only the temporary file is removed";
        fs::remove(temp);
        EXPECT_EQ(EntryCount(), 1u) << how;  // nothing else was left behind
    }
}

}  // namespace
}  // namespace mirlka

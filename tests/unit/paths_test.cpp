#include "base/paths.h"

#include <gtest/gtest.h>

namespace mirlka {
namespace {

TEST(PathBesideModule, ReplacesTheFileNameAfterTheLastBackslash) {
    const struct {
        std::string_view module, file, expected;
    } cases[] = {
        {"C:\\Tools\\mirlka.exe", kSettingsFileName, "C:\\Tools\\mirlka.ini"},
        {"C:\\Tools\\mirlka.exe", kManualFileName, "C:\\Tools\\mirlka.html"},
        {"mirlka.exe", kSettingsFileName, "mirlka.ini"},
        // 表 is 0x95 0x5C: its trail byte is not a separator.
        {"C:\\\x95\x5C\\mirlka.exe", kSettingsFileName, "C:\\\x95\x5C\\mirlka.ini"},
        {"C:\\a\x95\x5C.exe", kSettingsFileName, "C:\\mirlka.ini"},
        {"\x95\x5C\x95\x5C.exe", kSettingsFileName, "mirlka.ini"},
        {"C:\\\xE0\x5C\xFC\x5C\\x.exe", kSettingsFileName, "C:\\\xE0\x5C\xFC\x5C\\mirlka.ini"},
        // Half-width katakana (0xA1-0xDF) and 0x80 are single bytes.
        {"C:\\\xB1\\\x80\\x.exe", kSettingsFileName, "C:\\\xB1\\\x80\\mirlka.ini"},
        // A lead byte at the very end has no trail byte to swallow.
        {"C:\\\x95", kSettingsFileName, "C:\\mirlka.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathBesideModule(c.module, c.file), std::optional<std::string>(c.expected))
            << c.module;
    }
}

TEST(PathBesideModule, OtherCodePagesChooseTheirOwnLeadBytes) {
    // In a single-byte code page 0xE9 is é, and the backslash after it is a separator.
    const auto noLeadBytes = [](unsigned char) { return false; };
    EXPECT_EQ(PathBesideModule("C:\\caf\xE9\\x.exe", kSettingsFileName, noLeadBytes),
              "C:\\caf\xE9\\mirlka.ini");
    EXPECT_EQ(PathBesideModule("C:\\caf\xE9\\x.exe", kSettingsFileName), "C:\\mirlka.ini");
}

TEST(PathBesideModule, ResultMustFitThePathBuffer) {
    // Folder plus "mirlka.ini" (10 bytes) is 259 or 260 bytes; the terminator needs one more.
    const auto folder = [](std::size_t length) {
        return "C:\\" + std::string(length - 4, 'd') + "\\";
    };
    const auto fits = PathBesideModule(folder(249) + "long-executable-name.exe", kSettingsFileName);
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->size(), kMaxPath - 1);
    EXPECT_EQ(*fits, folder(249) + "mirlka.ini");
    EXPECT_EQ(PathBesideModule(folder(250) + "x.exe", kSettingsFileName), std::nullopt);
    EXPECT_EQ(PathBesideModule(folder(249) + "x.exe", kManualFileName), std::nullopt);
}

TEST(ExplorerSelectArgument, OneBlankAfterEachComma) {
    EXPECT_EQ(ExplorerSelectArgument("C:\\Tools\\mirlka.exe"),
              "/e, /select, C:\\Tools\\mirlka.exe");
    EXPECT_EQ(ExplorerSelectArgument("C:\\\x95\x5C\\a b.exe"),
              "/e, /select, C:\\\x95\x5C\\a b.exe");
}

}  // namespace
}  // namespace mirlka

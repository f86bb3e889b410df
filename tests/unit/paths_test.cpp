#include "base/paths.h"

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

TEST(PathBesideModule, ReplacesTheFileNameAfterTheLastBackslash) {
    const auto cases = test::ReadCases("paths-beside-module.txt");
    ASSERT_EQ(cases.size(), 9u);
    for (const test::Fields& c : cases) {
        EXPECT_EQ(
            PathBesideModule(c[0], c[1] == "mirlka.ini" ? kSettingsFileName : kManualFileName),
            std::optional<std::string>(c[2]))
            << c[0];
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

// Message boxes as they appear on the screen: their titles, texts and places, and the hook that
// centres them.
#include "ui/win/message_box.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/win/window_placement.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace {

using namespace mirlka::test;
using namespace std::chrono_literals;

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(program_, nullptr) << "mirlka.exe beside the tests"; }

    static inline Module program_ = LoadAsData();
};

TEST_F(MessageBoxTest, WindowsAreCentredOverAVisibleOwnerElseInTheWorkArea) {
    RECT a{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &a, 0);
    for (const int show : {SW_SHOW, SW_HIDE, SW_SHOWMINNOACTIVE}) {
        Window owner = ProgramWindow(program_.get(),
                                     {a.left + 100, a.top + 80, a.left + 500, a.top + 380}, show);
        RECT o{}, at{};
        GetWindowRect(owner.get(), &o);
        const RECT& r = show == SW_SHOW ? o : a;
        Window window = ProgramWindow(program_.get(), {7, 9, 327, 249}, SW_HIDE, owner.get());
        mirlka::CenterWindow(window.get());
        GetWindowRect(window.get(), &at);
        EXPECT_EQ(at.left, (r.left + r.right) / 2 - 160) << show;
        EXPECT_EQ(at.top, (r.top + r.bottom) / 2 - 120) << show;
        EXPECT_EQ(at.right - at.left, 320) << show;
    }
}

// Whether a box of the system's own, shown now from this thread, comes up centred over `owner`.
bool PlainBoxIsCentred(HWND owner) {
    BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
    MessageBoxA(owner, "plain", "", MB_OK);
    return CentredOver(watcher.Wait().rect, owner);
}

// Each box is centred over its owner through a hook that ends with the box.
TEST_F(MessageBoxTest, TitleFollowsTheIconAndPrefixLeadsTheText) {
    Window owner = ProgramWindow(program_.get());
    ASSERT_FALSE(PlainBoxIsCentred(owner.get())) << "the system centres boxes over the owner";
    const auto rows = ReadCases("message-boxes.txt");
    ASSERT_EQ(rows.size(), 6u);
    for (const Fields& row : rows) {
        const UINT id = std::stoul(row[0]), type = std::stoul(row[1], nullptr, 16);
        const int button = std::stoi(row[3]);
        const std::string prefix = ToAnsi(row[2]);
        const auto prefixArg =
            row[2] == "-" ? std::nullopt : std::optional<std::string_view>(prefix);
        BoxWatcher watcher(BoxSource::ThisThread(), button);
        const int result =
            id ? mirlka::ShowMessageBoxById(owner.get(), id, type, prefixArg)
               : mirlka::ShowMessageBox(owner.get(), ToAnsi("本文です。"), prefixArg, type);
        const SeenBox box = watcher.Wait();
        EXPECT_EQ(box.title + " / " + box.text, ToAnsi(row[4] + " / " + row.back()));
        EXPECT_TRUE(box.pressed && result == button) << row[0] << " " << row[1];
        EXPECT_TRUE(box.owner == owner.get() && CentredOver(box.rect, owner.get())) << row[0];
    }
    EXPECT_FALSE(PlainBoxIsCentred(owner.get())) << "the hook outlives the box";
}

// The system's wording is read from the screen in the about box's manual tests.
TEST_F(MessageBoxTest, SystemTextWantingInsertsFallsBackAndCodeZeroShowsNothing) {
    Window owner = ProgramWindow(program_.get());
    BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
    // The system's text for this code wants an insert ("%1 ..."), which it would lack.
    mirlka::ReportSystemError(ERROR_BAD_EXE_FORMAT, owner.get());
    const SeenBox box = watcher.Wait();
    EXPECT_EQ(box.title + " / " + box.text, ToAnsi("エラー / 予期しないエラーが発生しました。"));

    BoxWatcher none(BoxSource::ThisThread(), IDOK, 700ms);
    mirlka::ReportSystemError(0, owner.get());
    EXPECT_FALSE(none.Wait()) << "code 0 showed a box";
}

}  // namespace

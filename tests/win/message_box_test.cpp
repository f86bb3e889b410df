// Message boxes as they appear on the screen: their titles, texts and places, and the hook that
// centres them.
#include "ui/win/message_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "win/box_watcher.h"
#include "win/test_support.h"

namespace {

using mirlka::MessageBoxCenteringState;
using mirlka::test::BoxSource;
using mirlka::test::BoxWatcher;
using mirlka::test::SeenBox;
using mirlka::test::ToAnsi;
using namespace std::chrono_literals;

RECT WorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

struct WindowCloser {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

enum class Owner { kNone, kVisible, kHidden, kMinimised };
enum class Place { kOverOwner, kAreaCentre, kFarEdges, kNearEdges };

struct Placement {
    const char* name;
    Owner owner;
    int dx,
        dy;  // the owner's top-left from the work area's near edges, or if negative its far ones
    Place place;
};

const Placement kPlacements[] = {
    {"no owner", Owner::kNone, 0, 0, Place::kAreaCentre},
    {"visible", Owner::kVisible, 100, 80, Place::kOverOwner},
    {"near far edges", Owner::kVisible, -150, -100, Place::kFarEdges},
    {"beyond near edges", Owner::kVisible, -2000, -2000, Place::kNearEdges},
    {"hidden", Owner::kHidden, 100, 80, Place::kAreaCentre},
    {"minimised", Owner::kMinimised, 100, 80, Place::kAreaCentre},
};

// Where a window of w x h belongs, by the rule of the row.
void ExpectPlaced(const Placement& row, const RECT& owner, const RECT& at) {
    const RECT a = WorkArea();
    const LONG w = at.right - at.left, h = at.bottom - at.top;
    POINT expected{(a.left + a.right) / 2 - w / 2, (a.top + a.bottom) / 2 - h / 2};
    if (row.place == Place::kOverOwner) {
        expected = {(owner.left + owner.right) / 2 - w / 2, (owner.top + owner.bottom) / 2 - h / 2};
    } else if (row.place == Place::kFarEdges) {
        expected = {a.right - w, a.bottom - h};
    } else if (row.place == Place::kNearEdges) {
        expected = {a.left, a.top};
    }
    EXPECT_EQ(at.left, expected.x) << row.name;
    EXPECT_EQ(at.top, expected.y) << row.name;
}

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(program_, nullptr) << "mirlka.exe beside the tests"; }

    // A top-level window whose module is the program's, so that boxes it owns read its strings.
    static Window MakeWindow(RECT at, Owner state = Owner::kVisible, HWND owner = nullptr) {
        HWND window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                      at.left, at.top, at.right - at.left, at.bottom - at.top,
                                      owner, nullptr, program_.get(), nullptr);
        if (state != Owner::kHidden) {
            ShowWindow(window, state == Owner::kMinimised ? SW_SHOWMINNOACTIVE : SW_SHOW);
        }
        return Window(window);
    }
    static Window MakeOwner(const Placement& row, RECT& rect) {
        const RECT a = WorkArea();
        const LONG left = row.dx >= 0 ? a.left + row.dx : a.right + row.dx;
        const LONG top = row.dy >= 0 ? a.top + row.dy : a.bottom + row.dy;
        Window owner = row.owner == Owner::kNone
                           ? Window()
                           : MakeWindow({left, top, left + 400, top + 300}, row.owner);
        GetWindowRect(owner.get(), &rect);
        return owner;
    }

    static inline mirlka::test::Module program_ = mirlka::test::LoadAsData();
};

// First in the file, and under CTest in a process of its own: the first run finds no monitor
// functions loaded, so it also covers the work area of SPI_GETWORKAREA.
TEST_F(MessageBoxTest, CenterWindowFollowsItsOwnerOrTheWorkArea) {
    const bool beforeAnyBox = !MessageBoxCenteringState().monitorSlotsFilled;
    for (const Placement& row : kPlacements) {
        RECT ownerRect{};
        Window owner = MakeOwner(row, ownerRect);
        Window window = MakeWindow({7, 9, 327, 249}, Owner::kHidden, owner.get());
        mirlka::CenterWindow(window.get());
        RECT at{};
        GetWindowRect(window.get(), &at);
        ExpectPlaced(row, ownerRect, at);
        EXPECT_EQ(at.right - at.left, 320) << row.name;
    }
    EXPECT_EQ(MessageBoxCenteringState().monitorSlotsFilled, !beforeAnyBox);
}

TEST_F(MessageBoxTest, BoxIsCentredOverItsOwnerAndKeptInTheWorkArea) {
    for (const Placement& row : kPlacements) {
        RECT ownerRect{};
        Window owner = MakeOwner(row, ownerRect);
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
        mirlka::ShowMessageBox(owner.get(), "centred", std::nullopt, MB_ICONASTERISK);
        const SeenBox box = watcher.Wait();
        ASSERT_TRUE(box) << row.name;
        EXPECT_EQ(box.owner, owner.get()) << row.name;
        ExpectPlaced(row, ownerRect, box.rect);
    }
    EXPECT_TRUE(MessageBoxCenteringState().monitorSlotsFilled);
}

TEST_F(MessageBoxTest, TitleFollowsTheIconAndPrefixLeadsTheText) {
    const char* const kBody = "本文です。";
    const struct {
        UINT id;  // 0: kBody through ShowMessageBox
        UINT type;
        const char* prefix;  // null: none
        int button;
        const char* title;
        const char* text;
    } rows[] = {
        {0, MB_ICONHAND, nullptr, IDOK, "エラー", kBody},
        {0, MB_YESNO | MB_ICONQUESTION, nullptr, IDYES, "確認", kBody},
        {0, MB_YESNO | MB_ICONEXCLAMATION, "'プリセット 1'\n", IDNO, "警告", kBody},
        {0, MB_ICONASTERISK, "", IDOK, "情報", kBody},
        {0, MB_OK, nullptr, IDOK, "", kBody},
        {146, MB_ICONEXCLAMATION, nullptr, IDOK, "警告",
         "Cakewalkは、再生または録音を行っています。\n停止してから実行してください。"},
        {143, MB_YESNO | MB_ICONEXCLAMATION, "'a'\n", IDYES, "警告",
         "このプリセットは、すでに存在します。上書きしますか?"},
        {999, MB_ICONASTERISK, nullptr, IDOK, "情報", ""},
    };
    Window owner = MakeWindow({100, 100, 500, 400});
    for (const auto& row : rows) {
        const std::string prefix = row.prefix ? ToAnsi(row.prefix) : "";
        const auto prefixArg = row.prefix ? std::optional<std::string_view>(prefix) : std::nullopt;
        BoxWatcher watcher(BoxSource::ThisThread(), row.button);
        const int result =
            row.id ? mirlka::ShowMessageBoxById(owner.get(), row.id, row.type, prefixArg)
                   : mirlka::ShowMessageBox(owner.get(), ToAnsi(kBody), prefixArg, row.type);
        const SeenBox box = watcher.Wait();
        ASSERT_TRUE(box) << row.id << " " << row.type;
        EXPECT_EQ(box.title, ToAnsi(row.title)) << row.id << " " << row.type;
        EXPECT_EQ(box.text, prefix + ToAnsi(row.text)) << row.id << " " << row.type;
        EXPECT_TRUE(box.pressed) << row.id << " " << row.type;
        EXPECT_EQ(result, row.button) << row.id << " " << row.type;
    }
}

TEST_F(MessageBoxTest, SystemErrorsInTheSystemsWordsOrTheProgramsFallback) {
    const std::string notFound = mirlka::test::SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(notFound.empty());
    const std::string unexpected = ToAnsi("予期しないエラーが発生しました。");
    const DWORD noSuchCode = 0x2000ABCD;  // the customer range: the system has no text for it

    std::string out = "stale";
    mirlka::GetSystemErrorText(ERROR_FILE_NOT_FOUND, program_.get(), out);
    EXPECT_EQ(out, notFound);
    mirlka::GetSystemErrorText(noSuchCode, program_.get(), out);
    EXPECT_EQ(out, unexpected);
    out = "stale";  // the system's text for this code wants an insert ("%1 ..."), which it lacks
    mirlka::GetSystemErrorText(ERROR_BAD_EXE_FORMAT, program_.get(), out);
    EXPECT_EQ(out, unexpected);

    Window owner = MakeWindow({100, 100, 500, 400});
    for (const auto& [code, text] :
         {std::pair{DWORD{ERROR_FILE_NOT_FOUND}, notFound}, std::pair{noSuchCode, unexpected}}) {
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
        mirlka::ReportSystemError(code, owner.get());
        const SeenBox box = watcher.Wait();
        ASSERT_TRUE(box) << code;
        EXPECT_EQ(box.title, ToAnsi("エラー")) << code;
        EXPECT_EQ(box.text, text) << code;
    }

    BoxWatcher watcher(BoxSource::ThisThread(), IDOK, 700ms);
    const DWORD start = GetTickCount();
    mirlka::ReportSystemError(0, owner.get());
    EXPECT_LT(GetTickCount() - start, 200u);
    EXPECT_FALSE(watcher.Wait()) << "code 0 showed a box";
}

// Timers that the boxes' modal loops run on this thread.
mirlka::CenteringSnapshot duringOuter, duringInner, afterInner;
SeenBox innerBox;
HWND innerOwner;

void CALLBACK TakeDuringInner(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    duringInner = MessageBoxCenteringState();
}

void CALLBACK ShowInnerBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    duringOuter = MessageBoxCenteringState();
    HWND outer = mirlka::test::FindMessageBox(BoxSource::ThisThread());
    const UINT_PTR probe = SetTimer(nullptr, 0, 50, TakeDuringInner);
    BoxWatcher watcher(BoxSource::ThisThread(), IDOK, 5s, outer, 400ms);
    mirlka::ShowMessageBox(innerOwner, "inner", std::nullopt, MB_ICONEXCLAMATION);
    KillTimer(nullptr, probe);
    innerBox = watcher.Wait();
    afterInner = MessageBoxCenteringState();
}

TEST_F(MessageBoxTest, HookLivesWhileABoxIsOpenAndANestedBoxEndsIt) {
    Window owner = MakeWindow({100, 100, 500, 400});
    innerOwner = owner.get();
    duringOuter = duringInner = afterInner = {};
    innerBox = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ShowInnerBox);
    // The outer box is answered late enough for the inner one to have come and gone.
    BoxWatcher outer(BoxSource::ThisThread(), IDOK, 5s, nullptr, 1500ms);
    EXPECT_EQ(mirlka::ShowMessageBox(owner.get(), "outer", std::nullopt, MB_ICONASTERISK), IDOK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(outer.Wait().text, "outer");
    EXPECT_EQ(innerBox.text, "inner");

    const struct {
        const char* when;
        mirlka::CenteringSnapshot state;
        int guards;
        bool hook, library;
    } rows[] = {
        {"outer open", duringOuter, 1, true, true},
        {"inner open", duringInner, 2, true, true},
        {"inner closed", afterInner, 1, false, true},
        {"both closed", MessageBoxCenteringState(), 0, false, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.state.guardCount, row.guards) << row.when;
        EXPECT_EQ(row.state.hookInstalled, row.hook) << row.when;
        EXPECT_EQ(row.state.libraryHeld, row.library) << row.when;
    }
}

}  // namespace

// The string table and the version block of the built program, read the way the program reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/win/res_string.h"
#include "win/test_support.h"

namespace {

using mirlka::test::ToAnsi;
constexpr auto npos = std::string::npos;

struct Entry {
    UINT id;
    const char* utf8;
};

const Entry kEntries[] = {
    {2, "https://mirelka.example.org/"},
    {3, "SOFTWARE\\Cakewalk Music Software\\Tools Menu\\mirlka"},
    {4, "ExePath"},
    {5, "MenuText"},
    {6, "StatusBarText"},
    {7, "Generic"},
    {8, "Type"},
    {134, "FileDescription"},
    {135, "LegalCopyright"},
    {136, "Comments"},
    {137, "エラー"},
    {138, "確認"},
    {139, "警告"},
    {140, "情報"},
    {141, "Mirelka for Cakewalk"},
    {142, "WWWブラウザを起動し、インターネットへの接続を試みますか?"},
    {143, "このプリセットは、すでに存在します。上書きしますか?"},
    {144, "このプリセットを、削除してもよろしいですか?"},
    {145, "この名前のプリセットは、存在しません。"},
    {146, "Cakewalkは、再生または録音を行っています。\n停止してから実行してください。"},
    {147, "Cakewalkとの対話を、確立できませんでした。"},
    {148, "予期しないエラーが発生しました。"},
    {149, "トラック"},
    {150, "チャンネル"},
    {151, "Mirelka"},
    {152,
     "Cakewalkに変更を送りましたが、Cakewalkからの完了の確認がまだありません。\nCakewalkで結果を確"
     "かめてください。"},
};

// Both the shipped 32-bit program and the build that these tests belong to, which lies beside them.
class ProgramResources : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ASSERT_NE(module_, nullptr) << GetParam() << " error " << GetLastError();
    }
    mirlka::test::Module module_ = mirlka::test::LoadAsData(GetParam());
};

TEST(AnsiCodePage, IsShiftJis) {
    // Everything below compares code page 932 bytes; the test bed must give the program that page.
    ASSERT_EQ(GetACP(), 932u);
    EXPECT_EQ(ToAnsi("エラー"), "\x83\x47\x83\x89\x81\x5b");
}

// Every entry byte for byte, and no entry besides them.
TEST_P(ProgramResources, StringTableIsExactlyTheListedEntries) {
    for (UINT id = 0; id < 400; ++id) {
        const auto entry = std::find_if(std::begin(kEntries), std::end(kEntries),
                                        [id](const Entry& e) { return e.id == id; });
        std::string text = "stale";
        mirlka::LoadResString(text, id, module_.get());
        EXPECT_EQ(text, entry == std::end(kEntries) ? "" : ToAnsi(entry->utf8)) << "string " << id;
    }
}

TEST_P(ProgramResources, VersionBlockCarriesTheProgramVersionAndTexts) {
    const std::string& path = GetParam();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), handle, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, (2005u << 16) | 708u);

    DWORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(LOWORD(*translation), 0x0411);
    EXPECT_EQ(HIWORD(*translation), 0x04B0);

    const struct {
        const char* key;
        const char* utf8;
    } values[] = {
        {"FileDescription", "Mirelka for Cakewalk version 1.01"},
        {"Comments", "Cakewalkの各トラックのMIDIチャンネルを、一括変更するためのプログラムです。"},
        {"FileVersion", "1, 1, 2005, 708"},
        {"ProductVersion", "1, 1, 2005, 708"},
        {"InternalName", "Mirelka for Cakewalk"},
        {"OriginalFilename", "mirlka.exe"},
        {"ProductName", "Mirelka for Cakewalk version 1.01"},
        {"LegalCopyright", "Copyright (C) 2005-2026 Mirelka project"},
    };
    for (const auto& value : values) {
        const std::string query = std::string("\\StringFileInfo\\041104B0\\") + value.key;
        char* text = nullptr;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << value.key;
        EXPECT_EQ(std::string(text), ToAnsi(value.utf8)) << value.key;
    }
}

TEST_P(ProgramResources, IconHasBothSizes) {
    for (int size : {16, 32}) {
        HANDLE icon = LoadImageA(module_.get(), MAKEINTRESOURCEA(128), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        if (icon) {
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
            BITMAP bitmap{};
            GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

// Each build names its own architecture and asks for common controls 6 of any architecture, so
// the list view the tests see is the one users get; no execution level is asked for, which keeps
// Vista's per-user redirection of the registry and file writes.
TEST_P(ProgramResources, ManifestAsksForCommonControls6) {
    HRSRC found = FindResourceA(module_.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(module_.get(), found))),
        SizeofResource(module_.get(), found));
    const bool shipped = GetParam() == MIRLKA_EXE32_PATH;
    const char* own = shipped || sizeof(void*) == 4 ? "x86" : "amd64";
    EXPECT_NE(manifest.find(std::string("1.1.2005.708\" processorArchitecture=\"") + own), npos);
    EXPECT_NE(manifest.find("\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\""),
              npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), npos);
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramResources,
                         ::testing::Values(MIRLKA_EXE32_PATH,
                                           mirlka::test::BesideExe("mirlka.exe")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.index == 0 ? "Shipped32" : "ThisBuild";
                         });

}  // namespace

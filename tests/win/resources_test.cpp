// The string table and the version block of the built program, read the way the program reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "ui/win/language_resources.h"
#include "ui/win/res_string.h"
#include "win/test_support.h"

namespace {

using namespace mirlka::test;
constexpr auto npos = std::string::npos;

// Both the shipped 32-bit program and the build that these tests belong to, which lies beside them.
class ProgramResources : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        ASSERT_NE(module_, nullptr) << GetParam() << " error " << GetLastError();
    }
    // The bytes of a resource, empty when there is none.
    std::string Resource(LPCSTR type, int id) const {
        HRSRC found = FindResourceA(module_.get(), MAKEINTRESOURCEA(id), type);
        return found
                   ? std::string(
                         static_cast<const char*>(LockResource(LoadResource(module_.get(), found))),
                         SizeofResource(module_.get(), found))
                   : "";
    }
    Module module_ = LoadAsData(GetParam());
};

// The items of a menu and its submenus in order, as window-texts.txt lists them.
std::string MenuTexts(HMENU menu) {
    std::string texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        const bool separator =
            GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
        texts += (texts.empty() ? "" : "|") + (separator ? "-" : Utf8(text));
        if (HMENU submenu = GetSubMenu(menu, i)) {
            texts += "|" + MenuTexts(submenu);
        }
    }
    return texts;
}

// In each language every entry byte for byte, and no entry besides them; and the menu bar.
TEST_P(ProgramResources, StringTableAndMenuAreTheListedTextsInEachLanguage) {
    for (const Language& language : {kJapanese, kEnglish}) {
        const auto entries = GoldenMap(DataOf("string-table.txt", language).c_str());
        for (UINT id = 0; id < 400; ++id) {
            const auto entry = entries.find(std::to_string(id));
            EXPECT_EQ(Utf8(mirlka::ResStringIn(language.id, id, module_.get())),
                      entry == entries.end() ? "" : entry->second)
                << "string " << id << " in " << language.id;
        }
        HMENU menu = mirlka::LoadMenuIn(language.id, module_.get(), IDM_MAINMENU);
        EXPECT_EQ(MenuTexts(menu), GoldenText(DataOf("window-texts.txt", language).c_str(), "106"));
        DestroyMenu(menu);
    }
}

TEST_P(ProgramResources, VersionBlockCarriesTheProgramVersionAndTexts) {
    const std::string& path = GetParam();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), handle, size, block.data()));

    const auto query = [&](const std::string& name) -> const void* {
        void* value = nullptr;
        UINT length = 0;
        return VerQueryValueA(block.data(), name.c_str(), &value, &length) ? value : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query("\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(std::pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS),
              std::pair(0x00010001ul, (2005ul << 16) | 708));
    // Japanese first, as the system shows it by default.
    const auto* translation = static_cast<const DWORD*>(query("\\VarFileInfo\\Translation"));
    EXPECT_TRUE(translation && translation[0] == 0x04B00411u && translation[1] == 0x04B00409u);
    for (const Language& language : {kJapanese, kEnglish}) {
        const auto values = ReadCases(DataOf("version-block.txt", language).c_str());
        ASSERT_EQ(values.size(), 8u);
        char table[32];
        wsprintfA(table, "\\StringFileInfo\\%04X04B0\\", language.id);
        for (const Fields& value : values) {
            const auto* text = static_cast<const char*>(query(table + value[0]));
            EXPECT_EQ(text ? std::string(text) : "(none)", ToAnsi(value[1])) << value[0];
        }
    }
}

// The icon's directory lists an image of 16 and one of 32 pixels.
TEST_P(ProgramResources, IconHasBothSizes) {
    const std::string directory = Resource(RT_GROUP_ICON, 128);
    ASSERT_GT(directory.size(), 6u);
    std::set<int> widths;
    for (std::size_t entry = 6; entry + 14 <= directory.size(); entry += 14) {
        widths.insert(static_cast<unsigned char>(directory[entry]));
    }
    EXPECT_TRUE(widths.contains(16) && widths.contains(32)) << widths.size();
}

// Each build names its own architecture and asks for common controls 6 of any architecture, so
// the list view the tests see is the one users get; no execution level is asked for, which keeps
// Vista's per-user redirection of the registry and file writes; it is DPI-aware, so Vista and
// later do not stretch it.
TEST_P(ProgramResources, ManifestAsksForCommonControls6) {
    const std::string manifest = Resource(RT_MANIFEST, 1);
    const bool shipped = GetParam() == MIRLKA_EXE32_PATH;
    const char* own = shipped || sizeof(void*) == 4 ? "x86" : "amd64";
    EXPECT_NE(manifest.find(std::string("1.1.2005.708\" processorArchitecture=\"") + own), npos);
    EXPECT_NE(manifest.find("\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\""),
              npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                            "WindowsSettings\">true</dpiAware>"),
              npos);
    // The system's own reader takes it, so the loader will too.
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = GetParam().c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    const HANDLE activation = CreateActCtxA(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << GetLastError();
    ReleaseActCtx(activation);
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramResources,
                         ::testing::Values(MIRLKA_EXE32_PATH, BesideExe("mirlka.exe")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.index == 0 ? "Shipped32" : "ThisBuild";
                         });

}  // namespace

// Scaffolding shared by the Windows tests: texts in the program's code page, system wording, the
// program file mapped as data.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/win/code_page.h"
#include "driver/win/process.h"
#include "golden.h"

namespace mirlka::test {

using namespace mirlka::driver;

// Expected texts are written in UTF-8 and compared as the program sees them: code page 932.
inline std::string ToAnsi(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return AnsiText(wide);
}

// The text of `key` in the data file `name`, as the program sees it.
inline std::string AnsiGolden(const char* name, const std::string& key) {
    return ToAnsi(GoldenText(name, key));
}

inline std::string Utf8(std::wstring_view wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

// The program's languages, each with the suffix of its data files ("string-table-en.txt").
struct Language {
    LANGID id;
    const char* suffix;
};
inline constexpr Language kJapanese{0x0411, ""}, kEnglish{0x0409, "-en"};

// The data file `name` of `language`.
inline std::string DataOf(const char* name, const Language& language) {
    std::string file = name;
    return file.insert(file.rfind('.'), language.suffix);
}

// The text of `key` in the data file `name` of the language the program shows in this bed:
// Japanese where the code page is Japanese, English elsewhere.
inline std::string Shown(const char* name, const std::string& key) {
    return AnsiGolden(DataOf(name, GetACP() == 932 ? kJapanese : kEnglish).c_str(), key);
}

// The system's own wording of an error code, as the program would get it.
inline std::string SystemText(DWORD code) {
    char* text = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

// Handles that free themselves with `Free`.
template <auto Free>
struct Freer {
    void operator()(auto handle) const { Free(handle); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, Freer<FreeLibrary>>;
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, Freer<DestroyWindow>>;

// A program file mapped for its resources only: its string table, version block and dialogs.
inline Module LoadAsData(const std::string& path = BesideExe("mirlka.exe")) {
    return Module(LoadLibraryExA(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// A top-level window of `module`, as the program's windows are: message boxes it owns read that
// module's string table.
inline Window ProgramWindow(HMODULE module, RECT at = {100, 100, 500, 400}, int show = SW_SHOW,
                            HWND owner = nullptr) {
    HWND window =
        CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | WS_SYSMENU, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, owner, nullptr, module, nullptr);
    ShowWindow(window, show);
    return Window(window);
}

// Whether `rect`'s centre lies within a pixel of `window`'s, as centring by halves leaves it.
inline bool CentredOver(const RECT& rect, HWND window) {
    RECT w{};
    GetWindowRect(window, &w);
    return std::abs(rect.left + rect.right - w.left - w.right) <= 2 &&
           std::abs(rect.top + rect.bottom - w.top - w.bottom) <= 2;
}

}  // namespace mirlka::test

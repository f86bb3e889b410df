// Paths of the program's own files, which live beside its executable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// The platform's path buffer in characters, terminator included.
inline constexpr std::size_t kMaxPath = 260;

inline constexpr std::wstring_view kSettingsFileName = L"mirlka.ini";
inline constexpr std::wstring_view kManualFileName = L"mirlka.html";

// `fileName` in the folder of `modulePath`: the path cut after its last backslash (the bare name
// when it has none). Nothing when the result would not fit a path buffer of kMaxPath characters
// with its terminator. The program takes its own path in UTF-16, where no unit of a character
// other than the backslash equals it (in an ANSI code page the trail byte of a double-byte
// character may).
std::optional<std::wstring> PathBesideModule(std::wstring_view modulePath,
                                             std::wstring_view fileName);

}  // namespace mirlka

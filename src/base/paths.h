// Paths of the program's own files, which live beside its executable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/lead_bytes.h"

namespace mirlka {

// The platform's path buffer in characters, terminator included.
inline constexpr std::size_t kMaxPath = 260;

inline constexpr std::wstring_view kSettingsFileName = L"mirlka.ini";
inline constexpr std::wstring_view kManualFileName = L"mirlka.html";

// `fileName` in the folder of `modulePath`: the path cut after its last backslash (the bare name
// when it has none). Nothing when the result would not fit a path buffer of kMaxPath characters
// with its terminator.
//
// A path in the ANSI code page is read character by character with the code page's lead bytes,
// since the second byte of a double-byte character may be a backslash's byte (表 is 95 5C in
// Shift_JIS, 許 A5 5C in Big5). A UTF-16 path needs no such care: no unit of a character other
// than the backslash equals it. The program takes its own path in UTF-16.
std::optional<std::string> PathBesideModule(std::string_view modulePath, std::string_view fileName,
                                            LeadByteFn isLeadByte);
std::optional<std::wstring> PathBesideModule(std::wstring_view modulePath,
                                             std::wstring_view fileName);

// The argument that makes Explorer open a window on the folder of `exePath` with it selected.
// The path is quoted: a comma in a folder's name would otherwise end it.
std::wstring ExplorerSelectArgument(std::wstring_view exePath);

}  // namespace mirlka

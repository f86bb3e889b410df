// Paths of the program's own files, which live beside its executable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// The platform's path buffer in bytes, terminator included.
inline constexpr std::size_t kMaxPath = 260;

inline constexpr std::string_view kSettingsFileName = "mirlka.ini";
inline constexpr std::string_view kManualFileName = "mirlka.html";

// Whether a byte starts a double-byte character in the ANSI code page.
using LeadByteFn = bool (*)(unsigned char);

// Lead bytes of Shift_JIS, the code page the program's texts are written for.
bool IsShiftJisLeadByte(unsigned char byte);

// `fileName` in the folder of `modulePath`: the path cut after its last backslash (the bare
// name when it has none). The second byte of a double-byte character may be a backslash byte,
// so the path is read character by character with `isLeadByte`. Nothing when the result would
// not fit a path buffer of kMaxPath bytes with its terminator.
std::optional<std::string> PathBesideModule(std::string_view modulePath, std::string_view fileName,
                                            LeadByteFn isLeadByte = IsShiftJisLeadByte);

// The argument that makes Explorer open a window on the folder of `exePath` with it selected.
std::string ExplorerSelectArgument(std::string_view exePath);

}  // namespace mirlka

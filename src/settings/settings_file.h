// The settings file on disk, read whole and replaced whole. Paths are in the platform's own form:
// UTF-16 on Windows, so that a folder of any name works whatever the ANSI code page; the file's
// contents are bytes either way.
#pragma once

#include <string>
#include <string_view>

namespace mirlka {

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

// All bytes of the file; false when it cannot be opened. A read error ends the reading and keeps
// what came before it: the file still counts as read.
bool ReadWholeFile(const NativePath& path, std::string& bytes);

// Writes `bytes` to a temporary file beside `target` (its name and ".tmp"), then puts that in the
// target's place in one step, so that the target is either the old file or the new one, never a
// shortened mix. On false the target is unchanged and the temporary file is gone, unless it could
// not even be created.
bool WriteFileAtomically(const NativePath& target, std::string_view bytes);

}  // namespace mirlka

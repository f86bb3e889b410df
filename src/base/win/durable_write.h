// A file written whole or not at all: the new bytes go to a temporary file beside the target (its
// name and ".tmp"), are flushed to the disk, and only then take the target's place in one step.
// The target is the old file or the new one, never a shortened mix, whatever fails on the way.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace mirlka {

// The system's WriteFile, or a stand-in with its contract.
using WriteFileFn = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

// Puts `bytes` in the file at `target` (UTF-16, so a folder of any name works). 0 on success,
// else the system's error code; then the target is as it was and the temporary file is gone,
// unless it could not even be created. A write that takes fewer bytes than it was given counts as
// a full disk.
DWORD WriteFileDurably(const std::wstring& target, std::string_view bytes,
                       WriteFileFn write = WriteFile);

}  // namespace mirlka

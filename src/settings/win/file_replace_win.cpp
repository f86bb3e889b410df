#include <windows.h>

#include "settings/file_replace.h"

namespace mirlka {

bool ReplaceFileAtomically(const std::string& temp, const std::string& target) {
    // Indexers and virus scanners open new files for a moment; a few short retries ride that out.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (MoveFileExA(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
            error != ERROR_ACCESS_DENIED) {
            break;
        }
        Sleep(20);
    }
    return false;
}

}  // namespace mirlka

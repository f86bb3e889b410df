#include <windows.h>

#include "settings/settings_file.h"

namespace mirlka {

namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

bool ReplaceWithRetries(const NativePath& temp, const NativePath& target) {
    // Indexers and virus scanners open new files for a moment; a few short retries ride that out.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(),
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

}  // namespace

bool ReadWholeFile(const NativePath& path, std::string& bytes) {
    const FileHandle file{CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes.clear();
    // The size is only a hint: the file may change while it is read.
    const DWORD size = GetFileSize(file.handle, nullptr);
    if (size != INVALID_FILE_SIZE) {
        bytes.reserve(size);
    }
    char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file.handle, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return true;
}

bool WriteFileAtomically(const NativePath& target, std::string_view bytes) {
    const NativePath temp = target + L".tmp";
    bool ok;
    {
        const FileHandle file{CreateFileW(temp.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        DWORD written = 0;
        ok = WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
             written == bytes.size();
        ok = FlushFileBuffers(file.handle) && ok;
    }
    if (ok && ReplaceWithRetries(temp, target)) {
        return true;
    }
    DeleteFileW(temp.c_str());
    return false;
}

}  // namespace mirlka

#include "base/win/durable_write.h"

#include "base/win/owned.h"

namespace mirlka {
namespace {

DWORD ReplaceWithRetries(const std::wstring& temp, const std::wstring& target) {
    // Indexers and virus scanners open new files for a moment; a few short retries ride that out.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return 0;
        }
        error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
            error != ERROR_ACCESS_DENIED) {
            break;
        }
        Sleep(20);
    }
    return error;
}

// The last error, or one that says so when the system has none to give.
DWORD LastError() {
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_WRITE_FAULT;
}

DWORD WriteAndFlush(HANDLE file, std::string_view bytes, WriteFileFn write) {
    DWORD written = 0;
    if (!write(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return LastError();
    }
    if (written != bytes.size()) {
        return ERROR_DISK_FULL;
    }
    return FlushFileBuffers(file) ? 0 : LastError();
}

}  // namespace

DWORD WriteFileDurably(const std::wstring& target, std::string_view bytes, WriteFileFn write) {
    const std::wstring temp = target + L".tmp";
    DWORD error;
    {
        const OwnedFile file(CreateFileW(temp.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return LastError();
        }
        error = WriteAndFlush(file.get(), bytes, write);
    }
    if (error == 0) {
        error = ReplaceWithRetries(temp, target);
    }
    if (error != 0) {
        DeleteFileW(temp.c_str());
    }
    return error;
}

}  // namespace mirlka

#include <windows.h>

#include "base/win/durable_write.h"
#include "base/win/owned.h"
#include "settings/settings_file.h"

namespace mirlka {

bool ReadWholeFile(const NativePath& path, std::string& bytes) {
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    bytes.clear();
    // The size is only a hint: the file may change while it is read.
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size != INVALID_FILE_SIZE) {
        bytes.reserve(size);
    }
    char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return true;
}

bool WriteFileAtomically(const NativePath& target, std::string_view bytes) {
    return WriteFileDurably(target, bytes) == 0;
}

}  // namespace mirlka

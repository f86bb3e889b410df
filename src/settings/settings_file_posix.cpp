#ifndef _WIN32

#include <unistd.h>

#include <cstdio>

#include "settings/settings_file.h"

namespace mirlka {

bool ReadWholeFile(const NativePath& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bytes.clear();
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    std::fclose(file);
    return true;
}

bool WriteFileAtomically(const NativePath& target, std::string_view bytes) {
    const std::string temp = target + ".tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    // The bytes reach the disk before the rename: a file system journals the rename, not the data.
    ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    // Closing can be where a full disk is first noticed, so its result counts too.
    ok = std::fclose(file) == 0 && ok;
    // rename() replaces an existing target atomically within one file system.
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0) {
        return true;
    }
    std::remove(temp.c_str());
    return false;
}

}  // namespace mirlka

#endif  // _WIN32

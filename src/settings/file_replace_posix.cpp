#ifndef _WIN32

#include "settings/file_replace.h"

#include <cstdio>

namespace mirlka {

bool ReplaceFileAtomically(const std::string& temp, const std::string& target) {
    // rename() replaces an existing target atomically within one file system.
    return std::rename(temp.c_str(), target.c_str()) == 0;
}

}  // namespace mirlka

#endif  // _WIN32

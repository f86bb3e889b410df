#include "host/win/file_version.h"

namespace mirlka {

std::uint32_t ReadFileVersion(const char* path) {
    if (!path) {
        return 0;
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) {
        return 0;
    }
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (!block) {
        return 0;
    }
    std::uint32_t version = 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (GetFileVersionInfoA(path, handle, size, block) &&
        VerQueryValueA(block, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        version = fixed->dwFileVersionMS;
    }
    GlobalFree(block);
    return version;
}

}  // namespace mirlka

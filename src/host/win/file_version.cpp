#include "host/win/file_version.h"

#include "base/win/version_block.h"

namespace mirlka {

std::uint32_t ReadFileVersion(const wchar_t* path) {
    const VersionBlock block(path);
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block.Query(L"\\", length));
    return fixed && length >= sizeof(VS_FIXEDFILEINFO) ? fixed->dwFileVersionMS : 0;
}

}  // namespace mirlka

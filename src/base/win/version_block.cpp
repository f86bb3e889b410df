#include "base/win/version_block.h"

namespace mirlka {

VersionBlock::VersionBlock(const wchar_t* path) {
    DWORD ignored = 0;
    const DWORD size = path ? GetFileVersionInfoSizeW(path, &ignored) : 0;
    if (size == 0) {
        return;
    }
    OwnedGlobal block(GlobalAlloc(GMEM_FIXED, size));
    if (block && GetFileVersionInfoW(path, 0, size, block.get())) {
        block_ = std::move(block);
    }
}

const void* VersionBlock::Query(const wchar_t* subBlock, UINT& length) const {
    void* value = nullptr;
    length = 0;
    if (empty() || !VerQueryValueW(block_.get(), subBlock, &value, &length)) {
        return nullptr;
    }
    return value;
}

}  // namespace mirlka

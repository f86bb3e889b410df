#include "base/win/version_block.h"

namespace mirlka {

VersionBlock::VersionBlock(const char* path) {
    DWORD ignored = 0;
    const DWORD size = path ? GetFileVersionInfoSizeA(path, &ignored) : 0;
    if (size == 0) {
        return;
    }
    OwnedGlobal block(GlobalAlloc(GMEM_FIXED, size));
    if (block && GetFileVersionInfoA(path, 0, size, block.get())) {
        block_ = std::move(block);
    }
}

const void* VersionBlock::Query(const char* subBlock, UINT& length) const {
    void* value = nullptr;
    length = 0;
    if (empty() || !VerQueryValueA(block_.get(), subBlock, &value, &length)) {
        return nullptr;
    }
    return value;
}

}  // namespace mirlka

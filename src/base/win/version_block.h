// A file's version resource, read whole, with look-ups of its values.
#pragma once

#include <windows.h>

#include "base/win/owned.h"

namespace mirlka {

class VersionBlock {
  public:
    // Reads the block of the file at `path`; empty() when the file has none, or the memory for it
    // or the read fails.
    explicit VersionBlock(const char* path);

    bool empty() const { return block_ == nullptr; }

    // The value at `subBlock` ("\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\…"), with
    // its length as the platform counts it; nullptr when the block has no such value.
    const void* Query(const char* subBlock, UINT& length) const;

  private:
    OwnedGlobal block_;
};

}  // namespace mirlka

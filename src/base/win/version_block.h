// A file's version resource, read whole, with look-ups of its values. The program does not import
// version.dll: it is no known DLL, so Windows would look for it beside the program first, where a
// download folder may hold anything. The block loads the system folder's copy by its full path
// for as long as it lives.
#pragma once

#include <windows.h>

#include "base/win/owned.h"

namespace mirlka {

class VersionBlock {
  public:
    // Reads the block of the file at `path`; empty() when the file has none, or the system's
    // version.dll, the memory for the block or the read fails. The path is UTF-16 and the block's
    // texts come out so: a folder or a text with characters the ANSI code page lacks keeps them.
    explicit VersionBlock(const wchar_t* path);

    bool empty() const { return block_ == nullptr; }

    // The value at `subBlock` ("\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\…"), with
    // its length as the platform counts it (texts in UTF-16 units); nullptr when the block has no
    // such value.
    const void* Query(const wchar_t* subBlock, UINT& length) const;

  private:
    OwnedLibrary library_;  // first: the block is read through it
    OwnedGlobal block_;
};

}  // namespace mirlka

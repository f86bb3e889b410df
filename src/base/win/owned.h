// Owners of platform handles: each releases its handle when it goes out of scope, on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace mirlka {

template <auto Release>
struct HandleReleaser {
    template <typename Handle>
    void operator()(Handle handle) const {
        Release(handle);
    }
};

// A handle type that is a pointer (HKEY, HFONT, HMENU, HGLOBAL…) with the function that ends it.
template <typename Handle, auto Release>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, HandleReleaser<Release>>;

using OwnedKey = Owned<HKEY, RegCloseKey>;
using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedMenu = Owned<HMENU, DestroyMenu>;
using OwnedGlobal = Owned<HGLOBAL, GlobalFree>;
using OwnedLocal = Owned<HLOCAL, LocalFree>;
using OwnedLibrary = Owned<HMODULE, FreeLibrary>;

// A file handle: CreateFile fails with INVALID_HANDLE_VALUE, not null, so it has an owner of its
// own. Like the others it cannot be copied: a copy would close the handle twice.
class OwnedFile {
  public:
    explicit OwnedFile(HANDLE handle) : handle_(handle) {}
    ~OwnedFile() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

}  // namespace mirlka

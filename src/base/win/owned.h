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

}  // namespace mirlka

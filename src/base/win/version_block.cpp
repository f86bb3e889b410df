#include "base/win/version_block.h"

#include <string>

#include "base/win/library_function.h"
#include "base/win/module_path.h"
#include "base/win/owned.h"

namespace mirlka {
namespace {

using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

// The system folder's version.dll, by its full path; null when that path cannot be had.
HMODULE LoadSystemVersionDll() {
    const std::wstring path = FileInSystemFolder(GetSystemDirectoryW, L"version.dll");
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

}  // namespace

VersionBlock::VersionBlock(const wchar_t* path) : library_(LoadSystemVersionDll()) {
    if (!library_ || !path) {
        return;
    }
    const auto size = LookUpFunction<SizeFunction>(library_.get(), "GetFileVersionInfoSizeW");
    const auto read = LookUpFunction<InfoFunction>(library_.get(), "GetFileVersionInfoW");
    DWORD ignored = 0;
    const DWORD bytes = size && read ? size(path, &ignored) : 0;
    if (bytes == 0) {
        return;
    }
    OwnedGlobal block(GlobalAlloc(GMEM_FIXED, bytes));
    if (block && read(path, 0, bytes, block.get())) {
        block_ = std::move(block);
    }
}

const void* VersionBlock::Query(const wchar_t* subBlock, UINT& length) const {
    const auto query =
        empty() ? nullptr : LookUpFunction<QueryFunction>(library_.get(), "VerQueryValueW");
    void* value = nullptr;
    length = 0;
    if (!query || !query(block_.get(), subBlock, &value, &length)) {
        return nullptr;
    }
    return value;
}

}  // namespace mirlka

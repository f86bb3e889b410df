#include "base/win/module_path.h"

#include "base/paths.h"

namespace mirlka {

static_assert(kMaxPath == MAX_PATH);

std::wstring ModulePath(HINSTANCE module) {
    wchar_t path[kMaxPath];
    const DWORD length = GetModuleFileNameW(module, path, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return {};
    }
    return std::wstring(path, length);
}

std::wstring FileBesideModule(HINSTANCE module, std::wstring_view fileName) {
    const std::wstring modulePath = ModulePath(module);
    if (modulePath.empty()) {
        return {};
    }
    return PathBesideModule(modulePath, fileName).value_or(L"");
}

std::wstring FileInSystemFolder(UINT(WINAPI* getFolder)(LPWSTR, UINT), std::wstring_view fileName) {
    wchar_t folder[kMaxPath];
    const UINT length = getFolder(folder, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return {};
    }
    return std::wstring(folder, length).append(L"\\").append(fileName);
}

}  // namespace mirlka

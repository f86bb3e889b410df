#include "base/win/module_path.h"

#include "base/paths.h"

namespace mirlka {

static_assert(kMaxPath == MAX_PATH);

std::string ModulePath(HINSTANCE module) {
    char path[kMaxPath];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return {};
    }
    return std::string(path, length);
}

std::string FileBesideModule(HINSTANCE module, std::string_view fileName) {
    const std::string modulePath = ModulePath(module);
    if (modulePath.empty()) {
        return {};
    }
    return PathBesideModule(modulePath, fileName).value_or("");
}

}  // namespace mirlka

#include "base/paths.h"

namespace mirlka {

std::optional<std::wstring> PathBesideModule(std::wstring_view modulePath,
                                             std::wstring_view fileName) {
    const std::size_t separator = modulePath.rfind(L'\\');
    const std::size_t folderLength = separator == std::wstring_view::npos ? 0 : separator + 1;
    if (folderLength + fileName.size() >= kMaxPath) {
        return std::nullopt;
    }
    std::wstring path(modulePath.substr(0, folderLength));
    path.append(fileName);
    return path;
}

}  // namespace mirlka

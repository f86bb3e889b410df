#include "base/paths.h"

namespace mirlka {

namespace {

// One walk for either width: `isLead(unit)` tells whether a unit starts a two-unit character.
template <typename Char, typename IsLead>
std::optional<std::basic_string<Char>> Beside(std::basic_string_view<Char> modulePath,
                                              std::basic_string_view<Char> fileName,
                                              IsLead isLead) {
    std::size_t folderLength = 0;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        if (isLead(modulePath[i])) {
            ++i;
        } else if (modulePath[i] == Char('\\')) {
            folderLength = i + 1;
        }
    }
    if (folderLength + fileName.size() >= kMaxPath) {
        return std::nullopt;
    }
    std::basic_string<Char> path(modulePath.substr(0, folderLength));
    path.append(fileName);
    return path;
}

}  // namespace

std::optional<std::string> PathBesideModule(std::string_view modulePath, std::string_view fileName,
                                            LeadByteFn isLeadByte) {
    return Beside(modulePath, fileName,
                  [isLeadByte](char c) { return isLeadByte(static_cast<unsigned char>(c)); });
}

std::optional<std::wstring> PathBesideModule(std::wstring_view modulePath,
                                             std::wstring_view fileName) {
    return Beside(modulePath, fileName, [](wchar_t) { return false; });
}

std::wstring ExplorerSelectArgument(std::wstring_view exePath) {
    std::wstring argument = L"/e, /select, \"";
    argument.append(exePath);
    argument += L'"';
    return argument;
}

}  // namespace mirlka

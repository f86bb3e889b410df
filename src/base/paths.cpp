#include "base/paths.h"

namespace mirlka {

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::string> PathBesideModule(std::string_view modulePath, std::string_view fileName,
                                            LeadByteFn isLeadByte) {
    std::size_t folderLength = 0;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        const auto byte = static_cast<unsigned char>(modulePath[i]);
        if (isLeadByte(byte)) {
            ++i;
        } else if (byte == '\\') {
            folderLength = i + 1;
        }
    }
    if (folderLength + fileName.size() >= kMaxPath) {
        return std::nullopt;
    }
    std::string path(modulePath.substr(0, folderLength));
    path.append(fileName);
    return path;
}

std::string ExplorerSelectArgument(std::string_view exePath) {
    std::string argument = "/e, /select, ";
    argument.append(exePath);
    return argument;
}

}  // namespace mirlka

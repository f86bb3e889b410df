#include "ui/string_loader.h"

namespace mirlka {

std::optional<std::u16string_view> StringBlockEntry(std::u16string_view block, unsigned id) {
    std::size_t at = 0;
    for (unsigned entry = 0; entry < id % 16; ++entry) {
        if (at >= block.size()) {
            return std::nullopt;
        }
        at += 1 + block[at];
    }
    if (at >= block.size() || block[at] == 0 || block[at] > block.size() - at - 1) {
        return std::nullopt;
    }
    return block.substr(at + 1, block[at]);
}

}  // namespace mirlka

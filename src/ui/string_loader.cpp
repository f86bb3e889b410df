#include "ui/string_loader.h"

#include <algorithm>
#include <vector>

namespace mirlka {

std::string LoadStringGrowing(const LoadStringFn& loadString, unsigned id) {
    constexpr int kStep = 256;
    // A narrow loader may stop one byte early rather than split a double-byte character, so a
    // text that ends one or two bytes short of the buffer's end may still have been cut.
    constexpr int kSpareNeeded = 3;
    std::vector<char> buffer;
    for (int size = kStep;; size += kStep) {
        buffer.assign(static_cast<std::size_t>(size), '\0');
        const int length = std::clamp(loadString(id, buffer.data(), size), 0, size - 1);
        if (size - length >= kSpareNeeded) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
    }
}

}  // namespace mirlka

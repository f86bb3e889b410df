#include "base/ascii_case.h"

namespace mirlka {

std::string FoldAsciiCase(std::string_view text, LeadByteFn isLeadByte) {
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(folded[i]))) {
            ++i;  // the trail byte stays as it is
        } else {
            folded[i] = FoldAsciiCase(folded[i]);
        }
    }
    return folded;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b, LeadByteFn isLeadByte) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i]))) {
            // Equal lead bytes keep both texts on the same character boundaries.
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
                return false;
            }
            ++i;
        } else if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsAsciiNameIgnoringCase(std::string_view text, std::string_view asciiName) {
    return EqualsIgnoringAsciiCase(text, asciiName, [](unsigned char) { return false; });
}

}  // namespace mirlka

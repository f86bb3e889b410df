// Bytes as lower-case hexadecimal digits, two a byte: how the simulator's log shows what it got.
#pragma once

#include <string>
#include <string_view>

namespace mirlka::hostsim {

inline std::string Hex(std::string_view bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : bytes) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
    }
    return out;
}

}  // namespace mirlka::hostsim

// Numbers typed into the settings file by hand: reading agrees with the C library's strtoll
// clamped to 32 bits, and writing reads back to the same value in printf's spelling.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // strtoll stops at a NUL byte, and so does a digit run; nothing after it can count.
    const long long reference = std::strtoll(text.c_str(), nullptr, 10);
    const std::int32_t expected =
        static_cast<std::int32_t>(std::clamp<long long>(reference, INT32_MIN, INT32_MAX));
    if (mirlka::ReadDecimal(text) != expected) {
        std::abort();
    }
    std::int32_t value = 0;
    std::memcpy(&value, data, std::min(size, sizeof value));
    char printed[16];
    std::snprintf(printed, sizeof printed, "%" PRId32, value);
    if (mirlka::WriteDecimal(value) != printed || mirlka::ReadDecimal(printed) != value) {
        std::abort();
    }
    return 0;
}

// Whatever path the system reports for the program, the settings file is placed after the
// path's last real backslash (never the second byte of a double-byte character), and a path
// that would not fit the platform's buffer is refused instead of cut.
#include <cstdlib>
#include <string>
#include <vector>

#include "base/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string module(reinterpret_cast<const char*>(data), size);
    // The path as the characters a user sees: one or two bytes each.
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < module.size(); i += chars.back().size()) {
        const bool pair = mirlka::IsShiftJisLeadByte(static_cast<unsigned char>(module[i]));
        chars.push_back(module.substr(i, pair ? 2 : 1));
    }
    std::string folder;
    std::string pending;
    for (const std::string& c : chars) {
        pending += c;
        if (c == "\\") {
            folder += pending;
            pending.clear();
        }
    }
    const std::string expected = folder + "mirlka.ini";
    const auto path = mirlka::PathBesideModule(module, "mirlka.ini");
    if (expected.size() < mirlka::kMaxPath ? path != expected : path.has_value()) {
        std::abort();
    }
    return 0;
}

// The text under which the program appears in the host's Tools menu.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirlka {

// `name`, a blank and the file version's major and minor number ("Mirelka 1.1"). The major number
// is the high 16 bits of `fileVersion`, the minor the low 16 bits; the build fields are not shown.
std::string ToolDisplayText(std::string_view name, std::uint32_t fileVersion);

}  // namespace mirlka

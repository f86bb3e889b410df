// The command line that shows a file in Explorer.
#pragma once

#include <string>
#include <string_view>

namespace mirlka {

// The argument that makes Explorer open a window on the folder of `exePath` with it selected.
// The path is quoted: a comma in a folder's name would otherwise end it.
std::wstring ExplorerSelectArgument(std::wstring_view exePath);

}  // namespace mirlka

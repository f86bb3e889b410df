#include "ui/explorer_argument.h"

namespace mirlka {

std::wstring ExplorerSelectArgument(std::wstring_view exePath) {
    std::wstring argument = L"/e, /select, \"";
    argument.append(exePath);
    argument += L'"';
    return argument;
}

}  // namespace mirlka

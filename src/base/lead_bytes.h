// Which bytes start a double-byte character in the ANSI code page. The core never assumes a code
// page: the shell asks the system for its lead bytes and hands the rule down.
#pragma once

namespace mirlka {

using LeadByteFn = bool (*)(unsigned char);

}  // namespace mirlka

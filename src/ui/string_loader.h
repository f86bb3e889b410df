// Reading one entry of the program's string table, whatever its length.
#pragma once

#include <functional>
#include <string>

namespace mirlka {

// Behaves like LoadStringA: copies at most size-1 bytes of entry `id` and a terminator into
// `buffer`, returns the bytes copied without the terminator, or 0 when the entry is missing.
using LoadStringFn = std::function<int(unsigned id, char* buffer, int size)>;

// The whole text of entry `id`, or an empty text when the entry is missing. The loader gives no
// sign of truncation, so the buffer grows by 256 bytes until at least 3 bytes stay unused.
std::string LoadStringGrowing(const LoadStringFn& loadString, unsigned id);

}  // namespace mirlka

// Reading one entry of the program's string table from the block that holds it.
#pragma once

#include <optional>
#include <string_view>

namespace mirlka {

// The resource that holds string `id`: blocks of sixteen entries, numbered from 1.
constexpr unsigned StringBlockId(unsigned id) {
    return id / 16 + 1;
}

// Entry `id` of its block: the block holds sixteen texts, each a count of UTF-16 units followed
// by that many units. An entry of no units, or one that the block ends before, is nothing.
std::optional<std::u16string_view> StringBlockEntry(std::u16string_view block, unsigned id);

}  // namespace mirlka

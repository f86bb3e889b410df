// The CAL expressions that set the channel of a host track. The texts are contracts with the
// host's CAL interpreter: spacing, parentheses and number formatting must stay exactly as built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirlka {

// The narrow DDE interface takes 8-bit texts, the wide one UTF-16 texts with the same characters.
enum class TextForm { Narrow, Wide };

// Bytes handed to the host for a text of `length` characters, terminator included.
std::size_t TransferSize(TextForm form, std::size_t length);

// A text in the form of one conversation attempt. Only the member matching `form` is filled.
struct HostText {
    TextForm form = TextForm::Narrow;
    std::string narrow;
    std::u16string wide;

    std::size_t Length() const { return form == TextForm::Narrow ? narrow.size() : wide.size(); }
    // The characters as they lie in memory (UTF-16 in machine order for Wide), no terminator.
    std::string_view Bytes() const;
    // The start of the terminated text and its transfer size: what the transport hands over.
    const void* Data() const;
    std::size_t Size() const { return TransferSize(form, Length()); }
};

// `ascii` must hold 7-bit characters only; the wide form widens each of them.
HostText MakeHostText(TextForm form, std::string_view ascii);

// Sets the host's track `row` (0-based) to channel `entry` - 1 (the host counts channels from 0)
// and moves every event of the track to that channel. Any entry is written as it stands, without
// a range check; the caller never passes 0.
HostText BuildTrackExpression(int row, std::int32_t entry, TextForm form);

// Sent after the last track expression.
HostText ClosingExpression(TextForm form);

}  // namespace mirlka

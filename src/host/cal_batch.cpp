#include "host/cal_batch.h"

namespace mirlka {

std::size_t TransferSize(TextForm form, std::size_t length) {
    return form == TextForm::Narrow ? length + 1 : 2 * length + 2;
}

std::string_view HostText::Bytes() const {
    if (form == TextForm::Narrow) {
        return narrow;
    }
    return {reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(char16_t)};
}

const void* HostText::Data() const {
    return form == TextForm::Narrow ? static_cast<const void*>(narrow.c_str())
                                    : static_cast<const void*>(wide.c_str());
}

HostText MakeHostText(TextForm form, std::string_view ascii) {
    HostText text;
    text.form = form;
    if (form == TextForm::Narrow) {
        text.narrow = ascii;
    } else {
        text.wide.reserve(ascii.size());
        for (const char ch : ascii) {
            text.wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(ch)));
        }
    }
    return text;
}

HostText BuildTrackExpression(int row, std::int32_t entry, TextForm form) {
    // In 64 bits so that the lowest entry still has a channel one below it.
    const std::string channel = std::to_string(std::int64_t{entry} - 1);
    const std::string track = std::to_string(row);
    const std::string expression =
        "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel " + channel + " " + track +
        ") (TrackSelect 1 " + track + ") (forEachEvent (= Event.Chan " + channel +
        ") ) (TrackSelect 0 " + track + ") )";
    return MakeHostText(form, expression);
}

HostText ClosingExpression(TextForm form) {
    return MakeHostText(form, "(do (= From Now) (= Thru Now) )");
}

}  // namespace mirlka

// The settings file as a user may leave it: whatever it holds, what the store renders parses back
// to the same bytes, and the store's look-ups and changes agree with a plain model in
// which every look-up is a scan for the first equal name or key.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/settings_store.h"

using namespace mirlka;

namespace {

using Model = std::vector<std::pair<std::string, std::vector<std::string>>>;

// Shift_JIS: a byte after a lead byte is the second half of a character, never a letter.
bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool Same(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (a.size() != b.size()) {
        return false;
    }
    bool trail = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (trail ? a[i] != b[i] : fold(a[i]) != fold(b[i])) {
            return false;
        }
        trail = !trail && IsLeadByte(static_cast<unsigned char>(a[i]));
    }
    return true;
}

auto Find(Model& model, std::string_view name) {
    return std::ranges::find_if(model, [&](auto& s) { return Same(s.first, name); });
}

auto FindLine(std::vector<std::string>& lines, std::string_view key) {
    return std::ranges::find_if(lines, [&](const std::string& line) {
        return line.find('=') != std::string::npos && Same(line.substr(0, line.find('=')), key);
    });
}

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(4096);
    const std::string rendered = RenderSettings(ParseSettings(file));
    Check(RenderSettings(ParseSettings(rendered)) == rendered);

    SettingsStore store(IsLeadByte);
    Model model;
    for (const SettingsSection& s : ParseSettings(file)) {
        store.AddSection(s.name).lines = s.lines;
        model.emplace_back(s.name, std::vector<std::string>(s.lines.begin(), s.lines.end()));
    }
    while (in.remaining_bytes() > 0) {
        // Short names and keys, so that equal and case-equal ones meet often.
        const std::string name = in.ConsumeRandomLengthString(3);
        const std::string key = in.ConsumeRandomLengthString(3);
        const int op = in.ConsumeIntegralInRange(0, 3);
        auto section = Find(model, name);
        if (op == 0) {
            std::string value;
            const bool found = store.GetValue(name, key, value);
            auto line = section == model.end() ? decltype(FindLine(section->second, key)){}
                                               : FindLine(section->second, key);
            Check(found == (section != model.end() && line != section->second.end()));
            Check(!found || value == line->substr(line->find('=') + 1));
        } else if (op == 1) {
            const std::string value = in.ConsumeRandomLengthString(4);
            store.SetValue(name, key, value);
            if (section == model.end()) {
                section = model.insert(model.end(), {name, {}});
            }
            auto line = FindLine(section->second, key);
            (line == section->second.end() ? section->second.emplace_back() : *line) =
                key + "=" + value;
        } else if (op == 2) {
            Check(store.DeleteSection(name) == (section != model.end()));
            if (section != model.end()) {
                model.erase(section);
            }
        } else {
            store.AddSection(name);
            model.emplace_back(name, std::vector<std::string>{});
        }
    }
    std::vector<SettingsSection> expected;
    for (const auto& [name, lines] : model) {
        expected.push_back({name, {}});
        std::ranges::for_each(lines,
                              [&](const std::string& l) { expected.back().lines.push_back(l); });
    }
    // What the store would write is what the model holds, byte for byte.
    Check(RenderSettings(store.Sections()) == RenderSettings(expected));
    return 0;
}

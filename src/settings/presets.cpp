#include "settings/presets.h"

#include <array>

#include "base/ascii_case.h"
#include "base/decimal.h"

namespace mirlka {

bool IsReservedSectionName(std::string_view name) {
    return IsAsciiNameIgnoringCase(name, kAppSettingSection) ||
           IsAsciiNameIgnoringCase(name, kLastStateSection);
}

void SaveTableToSection(SettingsStore& store, const TrackTable& table, std::string_view name) {
    store.DeleteSection(name);
    store.AddSection(name);
    for (int n = 0; n < kTrackCount; ++n) {
        const std::int32_t value = table.Entry(n);
        if (value != 0) {
            store.SetValue(name, WriteDecimal(n + 1), WriteDecimal(value));
        }
    }
}

namespace {

// The row a key names: only "1" to "256" as the section writes them; "05", "+5" or " 5" name
// no row.
int RowOfKey(std::string_view key) {
    if (key.empty() || key.size() > 3 || key.front() == '0') {
        return 0;
    }
    int row = 0;
    for (const char c : key) {
        if (c < '0' || c > '9') {
            return 0;
        }
        row = row * 10 + (c - '0');
    }
    return row <= kTrackCount ? row : 0;
}

}  // namespace

// One walk over the section's lines: for each row the first line with its key counts, as a
// look-up of that key would find it.
void LoadTableFromSection(const SettingsStore& store, TrackTable& table, std::string_view name) {
    std::array<std::int32_t, kTrackCount> entries{};
    std::array<bool, kTrackCount> found{};
    if (const SettingsSection* section = store.FindSection(name)) {
        for (const std::string_view line : section->lines) {
            std::string_view key;
            std::string_view value;
            const int row = SplitSettingLine(line, key, value) ? RowOfKey(key) : 0;
            if (row != 0 && !found[row - 1]) {
                found[row - 1] = true;
                entries[row - 1] = ReadDecimal(value);
            }
        }
    }
    for (int n = 0; n < kTrackCount; ++n) {
        table.SetEntry(n, entries[static_cast<std::size_t>(n)]);
    }
}

std::vector<std::string> PresetNames(const SettingsStore& store) {
    std::vector<std::string> names;
    for (const SettingsSection& section : store.Sections()) {
        if (!IsReservedSectionName(section.name)) {
            names.push_back(section.name);
        }
    }
    return names;
}

PresetButtons ButtonsForTypedName(std::string_view text) {
    return {!text.empty() && !IsReservedSectionName(text), !text.empty()};
}

std::string PresetPrefix(std::string_view name) {
    std::string prefix;
    prefix.reserve(name.size() + 3);
    prefix.append(1, '\'').append(name).append("'\n");
    return prefix;
}

}  // namespace mirlka

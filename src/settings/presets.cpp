#include "settings/presets.h"

#include "app/decimal.h"

namespace mirlka {

namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsReservedSectionName(std::string_view name) {
    return EqualsIgnoringAsciiCase(name, kAppSettingSection) ||
           EqualsIgnoringAsciiCase(name, kLastStateSection);
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

void LoadTableFromSection(const SettingsStore& store, TrackTable& table, std::string_view name) {
    if (!store.FindSection(name)) {
        for (int n = 0; n < kTrackCount; ++n) {
            table.SetEntry(n, 0);
        }
        return;
    }
    for (int n = 0; n < kTrackCount; ++n) {
        table.SetEntry(n, ReadDecimal(store.GetString(name, WriteDecimal(n + 1), "0")));
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

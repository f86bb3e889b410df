// Named copies of the track table, each one section of the settings file: key = row number
// 1 to 256, value = the entry in signed decimal; rows holding 0 have no line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/track_table.h"
#include "settings/settings_store.h"

namespace mirlka {

// Sections that belong to the program itself and are never offered as presets.
inline constexpr std::string_view kAppSettingSection = "AppSetting";
inline constexpr std::string_view kLastStateSection = "LastState";

// True for "AppSetting" and "LastState" in any letter case.
bool IsReservedSectionName(std::string_view name);

// Replaces section `name` by the table's non-zero entries; the section moves to the end.
void SaveTableToSection(SettingsStore& store, const TrackTable& table, std::string_view name);

// Sets all 256 entries from section `name`; entries it does not mention, or all of them when
// there is no such section, become 0.
void LoadTableFromSection(const SettingsStore& store, TrackTable& table, std::string_view name);

// The names the preset list shows: every section but the reserved ones, in store order.
std::vector<std::string> PresetNames(const SettingsStore& store);

struct PresetButtons {
    bool save = false;
    bool remove = false;
};

// Which of Save and Delete a typed name enables: both need a name; Save refuses reserved ones.
PresetButtons ButtonsForTypedName(std::string_view text);

// The line shown above a preset question: the name between apostrophes.
std::string PresetPrefix(std::string_view name);

}  // namespace mirlka

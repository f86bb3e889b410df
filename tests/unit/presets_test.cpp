#include <gtest/gtest.h>

#include <sstream>

#include "golden.h"
#include "settings/app_state.h"
#include "settings/presets.h"

namespace mirlka {
namespace {

// The tables' names are Japanese: Shift_JIS.
SettingsStore StoreFrom(std::string_view bytes) {
    SettingsStore store(test::LeadBytesOf("932"));
    for (SettingsSection& section : ParseSettings(bytes)) {
        store.AddSection(section.name).lines = section.lines;
    }
    return store;
}

TEST(Presets, ReadingAndSavingRules) {
    test::ExpectTables({
        {"presets-loading.txt",
         [](const test::Fields& c) {
             ArrayTrackTable table;
             for (int n = 0; n < kTrackCount; ++n) {
                 table.SetEntry(n, 1);
             }
             LoadTableFromSection(StoreFrom(c[0]), table, c[1]);
             return test::Entries(table);
         }},
        {"preset-names.txt",
         [](const test::Fields& c) {
             std::string names;
             for (const std::string& name : PresetNames(StoreFrom(c[0]))) {
                 names += name + "|";
             }
             return names;
         }},
        {"typed-names.txt",
         [](const test::Fields& c) {
             const PresetButtons buttons = ButtonsForTypedName(c[0]);
             return std::string(buttons.save ? "yes" : "no") + (buttons.remove ? " yes" : " no");
         }},
        {"app-setting.txt",
         [](const test::Fields& c) {
             const SettingsStore store = StoreFrom(c[0]);
             const auto at = ReadWindowPosition(store);
             return (at ? std::to_string(at->left) + " " + std::to_string(at->top) : "none") + " " +
                    std::to_string(ReadAddToolFlag(store));
         }},
        {"presets-saving.txt",
         [](const test::Fields& c) {
             SettingsStore store = StoreFrom(c[0]);
             std::istringstream position(c[2]);
             if (int left, top, flag; position >> left >> top >> flag) {
                 StoreAppSettings(store, {left, top}, flag);
             }
             ArrayTrackTable table;
             test::SetEntries(table, c[3], 1);
             SaveTableToSection(store, table, c[1]);
             return RenderSettings(store.Sections());
         }},
    });
    EXPECT_EQ(PresetPrefix("My set"), "'My set'\n");
}

}  // namespace
}  // namespace mirlka

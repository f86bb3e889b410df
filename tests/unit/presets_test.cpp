#include <gtest/gtest.h>

#include "golden.h"
#include "settings/app_state.h"
#include "settings/presets.h"

namespace mirlka {
namespace {

SettingsStore StoreFrom(std::string_view bytes) {
    SettingsStore store;
    for (SettingsSection& section : ParseSettings(bytes)) {
        store.AddSection(section.name).lines = section.lines;
    }
    return store;
}

// The rows that hold a value, as "row=value" from 1.
std::string Entries(const TrackTable& table) {
    std::string text;
    for (int n = 0; n < kTrackCount; ++n) {
        if (table.Entry(n) != 0) {
            text += (text.empty() ? "" : " ") + std::to_string(n + 1) + "=" +
                    std::to_string(table.Entry(n));
        }
    }
    return text;
}

TEST(Presets, ReadingRules) {
    test::ExpectTables({
        {"presets-loading.txt",
         [](const test::Fields& c) {
             ArrayTrackTable table;
             for (int n = 0; n < kTrackCount; ++n) {
                 table.SetEntry(n, 1);
             }
             LoadTableFromSection(StoreFrom(c[0]), table, c[1]);
             return Entries(table);
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
    });
    EXPECT_EQ(PresetPrefix("My set"), "'My set'\n");
}

TEST(Presets, SavedTableReadsBackAndMovesToTheEnd) {
    SettingsStore store = StoreFrom("[mine]\r\n1=3\r\n[Other]\r\nx=1\r\n");
    ArrayTrackTable table;
    table.SetEntry(0, 2);
    table.SetEntry(4, 10);
    SaveTableToSection(store, table, "MINE");
    EXPECT_EQ(RenderSettings(store.Sections()), "[Other]\r\nx=1\r\n\r\n[MINE]\r\n1=2\r\n5=10\r\n");
    ArrayTrackTable loaded;
    LoadTableFromSection(store, loaded, "mine");
    EXPECT_EQ(Entries(loaded), "1=2 5=10");

    SaveTableToSection(store, ArrayTrackTable(), "blank");  // an empty table saves no lines
    EXPECT_EQ(RenderSettings(store.Sections()),
              "[Other]\r\nx=1\r\n\r\n[MINE]\r\n1=2\r\n5=10\r\n\r\n[blank]\r\n");
}

TEST(AppState, SaveOrderKeepsLastStateLast) {
    // A first run: AppSetting is created, then LastState follows it.
    SettingsStore first;
    ArrayTrackTable table;
    table.SetEntry(0, 2);
    table.SetEntry(4, 10);
    StoreAppSettings(first, {120, 80}, 1);
    SaveTableToSection(first, table, kLastStateSection);
    EXPECT_EQ(RenderSettings(first.Sections()),
              "[AppSetting]\r\nLeft=120\r\nTop=80\r\nAddCakewalkTool=1\r\n\r\n"
              "[LastState]\r\n1=2\r\n5=10\r\n");

    // A later run whose AppSetting was deleted as a preset: it comes back before LastState, and
    // a hand-written [laststate] is replaced at the end.
    SettingsStore later = StoreFrom("[laststate]\n3=3\n[p]\n1=1\n");
    StoreAppSettings(later, {-1920, 0}, 0);
    SaveTableToSection(later, table, kLastStateSection);
    EXPECT_EQ(RenderSettings(later.Sections()),
              "[p]\r\n1=1\r\n\r\n[AppSetting]\r\nLeft=-1920\r\nTop=0\r\nAddCakewalkTool=0\r\n\r\n"
              "[LastState]\r\n1=2\r\n5=10\r\n");
}

}  // namespace
}  // namespace mirlka

#include <gtest/gtest.h>

#include "settings/app_state.h"
#include "settings/presets.h"

namespace mirlka {
namespace {

SettingsStore StoreFrom(std::string_view bytes) {
    SettingsStore store;
    for (SettingsSection& section : ParseSettings(bytes)) {
        SettingsSection& added = store.AddSection(section.name);
        added.lines = section.lines;
    }
    return store;
}

TEST(Presets, SavedTableReadsBackAndMovesToTheEnd) {
    SettingsStore store = StoreFrom("[mine]\r\n1=3\r\n[Other]\r\nx=1\r\n");
    ArrayTrackTable table;
    table.SetEntry(0, 2);
    table.SetEntry(4, 10);
    SaveTableToSection(store, table, "MINE");
    EXPECT_EQ(RenderSettings(store.Sections()), "[Other]\r\nx=1\r\n\r\n[MINE]\r\n1=2\r\n5=10\r\n");

    ArrayTrackTable loaded;
    loaded.SetEntry(200, 7);  // a value the preset does not mention must be cleared
    LoadTableFromSection(store, loaded, "mine");
    for (int n = 0; n < kTrackCount; ++n) {
        EXPECT_EQ(loaded.Entry(n), table.Entry(n)) << n;
    }
}

TEST(Presets, LoadTakesValuesAsTheyStandAndIgnoresOtherKeys) {
    const SettingsStore store = StoreFrom(
        "[p]\r\n1=99\r\n2=-3\r\n3=7abc\r\n4=\r\n5=x\r\n05=9\r\n257=4\r\n 6=5\r\n7 "
        "=5\r\n256=16\r\n1=5\r\n");  // the first of two equal keys counts
    ArrayTrackTable table;
    for (int n = 0; n < kTrackCount; ++n) {
        table.SetEntry(n, 1);
    }
    LoadTableFromSection(store, table, "P");
    EXPECT_EQ(table.Entry(0), 99);
    EXPECT_EQ(table.Entry(1), -3);
    EXPECT_EQ(table.Entry(2), 7);
    EXPECT_EQ(table.Entry(3), 0);
    EXPECT_EQ(table.Entry(4), 0);  // "05" is not the key of track 5
    EXPECT_EQ(table.Entry(5), 0);  // " 6" and "7 " are other keys
    EXPECT_EQ(table.Entry(6), 0);
    EXPECT_EQ(table.Entry(255), 16);
}

TEST(Presets, MissingSectionClearsTheTableAndEmptyTableSavesNoLines) {
    SettingsStore store;
    ArrayTrackTable table;
    table.SetEntry(3, 4);
    LoadTableFromSection(store, table, "nothing");
    EXPECT_EQ(table.Entry(3), 0);

    SaveTableToSection(store, table, "blank");
    ASSERT_NE(store.FindSection("blank"), nullptr);
    EXPECT_TRUE(store.FindSection("blank")->lines.empty());
    EXPECT_EQ(RenderSettings(store.Sections()), "[blank]\r\n");
}

TEST(Presets, ListSkipsReservedNamesInAnyCaseAndKeepsDuplicates) {
    const SettingsStore store =
        StoreFrom("[b]\n[appsetting]\n[A]\n[LASTSTATE]\n[b]\n[ LastState]\n[;x=1]\n");
    EXPECT_EQ(PresetNames(store), (std::vector<std::string>{"b", "A", "b", " LastState", ";x=1"}));
}

TEST(Presets, ButtonsFollowTheTypedName) {
    const struct {
        const char* text;
        bool save, remove;
    } cases[] = {
        {"", false, false},         {"Mine", true, true},       {"appsetting", false, true},
        {"LastState", false, true}, {"LASTSTATE ", true, true}, {"AppSettings", true, true},
    };
    for (const auto& c : cases) {
        const PresetButtons buttons = ButtonsForTypedName(c.text);
        EXPECT_EQ(buttons.save, c.save) << c.text;
        EXPECT_EQ(buttons.remove, c.remove) << c.text;
    }
    EXPECT_EQ(PresetPrefix("My set"), "'My set'\n");
}

TEST(AppState, PositionNeedsBothKeysAndReadsLikeAtoi) {
    EXPECT_FALSE(ReadWindowPosition(StoreFrom("[AppSetting]\nLeft=10\n")).has_value());
    EXPECT_FALSE(ReadWindowPosition(StoreFrom("[Other]\nLeft=10\nTop=5\n")).has_value());
    const auto position = ReadWindowPosition(StoreFrom("[appsetting]\nTop=-40\nLeft=abc\n"));
    ASSERT_TRUE(position.has_value());
    EXPECT_EQ(position->left, 0);
    EXPECT_EQ(position->top, -40);
}

TEST(AppState, ToolFlagDefaultsToOnAndNonNumericIsOff) {
    EXPECT_EQ(ReadAddToolFlag(SettingsStore()), 1);
    EXPECT_EQ(ReadAddToolFlag(StoreFrom("[AppSetting]\nAddCakewalkTool=abc\n")), 0);
    EXPECT_EQ(ReadAddToolFlag(StoreFrom("[AppSetting]\nAddCakewalkTool=\n")), 0);
    EXPECT_EQ(ReadAddToolFlag(StoreFrom("[AppSetting]\nAddCakewalkTool=5\n")), 5);
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

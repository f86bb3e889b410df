#include "settings/win/preset_controls.h"

#include <string>

#include "base/win/focus.h"
#include "res/resource.h"
#include "settings/presets.h"
#include "ui/win/combo_item.h"
#include "ui/win/message_box.h"

namespace mirlka {
namespace {

std::string NameField(HWND combo) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(combo)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(combo, text.data(), static_cast<int>(text.size()))));
    return text;
}

void EnableButtons(const PresetControls& controls, PresetButtons buttons) {
    EnableWindow(controls.save, buttons.save);
    EnableWindow(controls.remove, buttons.remove);
    EnsureFocus(controls.window);
}

}  // namespace

void SavePreset(const PresetControls& controls, SettingsStore& store, const TrackTable& table) {
    const std::string name = NameField(controls.combo);
    if (name.empty()) {
        return;
    }
    // Any answer but No overwrites: a box closed some other way keeps the user's intent to save.
    if (store.FindSection(name) &&
        ShowMessageBoxById(controls.window, IDS_ASK_OVERWRITE_PRESET, MB_YESNO | MB_ICONEXCLAMATION,
                           PresetPrefix(name)) == IDNO) {
        return;
    }
    SaveTableToSection(store, table, name);
    RefillPresetList(controls, store);
}

void DeletePreset(const PresetControls& controls, SettingsStore& store) {
    const std::string name = NameField(controls.combo);
    if (name.empty()) {
        return;
    }
    if (!store.FindSection(name)) {
        ShowMessageBoxById(controls.window, IDS_PRESET_NOT_FOUND, MB_OK | MB_ICONEXCLAMATION,
                           PresetPrefix(name));
        return;
    }
    if (ShowMessageBoxById(controls.window, IDS_ASK_DELETE_PRESET, MB_YESNO | MB_ICONEXCLAMATION,
                           PresetPrefix(name)) == IDYES) {
        store.DeleteSection(name);
        RefillPresetList(controls, store);
    }
}

void RefillPresetList(const PresetControls& controls, const SettingsStore& store) {
    SendMessageA(controls.combo, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(controls.combo, "");
    for (const std::string& name : PresetNames(store)) {
        SendMessageA(controls.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const bool chosen = SendMessageA(controls.combo, CB_GETCURSEL, 0, 0) != CB_ERR;
    EnableButtons(controls, {chosen, chosen});
}

void UpdatePresetButtons(const PresetControls& controls) {
    EnableButtons(controls, ButtonsForTypedName(NameField(controls.combo)));
}

void SelectPreset(const PresetControls& controls, const SettingsStore& store, TrackTable& table) {
    const LRESULT index = SendMessageA(controls.combo, CB_GETCURSEL, 0, 0);
    const bool chosen = index != CB_ERR;
    EnableButtons(controls, {chosen, chosen});
    if (!chosen) {
        return;
    }
    LoadTableFromSection(store, table, ComboItemText(controls.combo, static_cast<int>(index)));
}

}  // namespace mirlka

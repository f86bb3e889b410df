#include "settings/win/saved_state.h"

#include "base/win/app_globals.h"
#include "settings/app_state.h"
#include "settings/presets.h"

namespace mirlka {

SettingsStore& Settings() {
    // Never written on destruction: a run that did not end through its main window saves nothing.
    static SettingsStore store;
    return store;
}

void RestoreWindowState(HWND window) {
    AppGlobals& globals = Globals();
    if (const auto position = ReadWindowPosition(Settings())) {
        SetWindowPos(window, nullptr, position->left, position->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    GetWindowRect(window, &globals.lastWindowRect);
    globals.addCakewalkTool = ReadAddToolFlag(Settings());
}

void SaveApplicationState(const TrackTable& table, void (*applyRegistration)()) {
    const AppGlobals& globals = Globals();
    SettingsStore& store = Settings();
    StoreAppSettings(store, {globals.lastWindowRect.left, globals.lastWindowRect.top},
                     globals.addCakewalkTool);
    applyRegistration();
    SaveTableToSection(store, table, kLastStateSection);
    store.Write();
}

}  // namespace mirlka

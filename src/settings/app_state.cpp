#include "settings/app_state.h"

#include <string>

#include "base/decimal.h"
#include "settings/presets.h"

namespace mirlka {

std::optional<WindowPosition> ReadWindowPosition(const SettingsStore& store) {
    std::string left;
    std::string top;
    if (!store.GetValue(kAppSettingSection, "Left", left) ||
        !store.GetValue(kAppSettingSection, "Top", top)) {
        return std::nullopt;
    }
    return WindowPosition{ReadDecimal(left), ReadDecimal(top)};
}

std::int32_t ReadAddToolFlag(const SettingsStore& store) {
    return ReadDecimal(store.GetString(kAppSettingSection, "AddCakewalkTool", "1"));
}

void StoreAppSettings(SettingsStore& store, const WindowPosition& position,
                      std::int32_t addCakewalkTool) {
    store.SetValue(kAppSettingSection, "Left", WriteDecimal(position.left));
    store.SetValue(kAppSettingSection, "Top", WriteDecimal(position.top));
    store.SetValue(kAppSettingSection, "AddCakewalkTool", WriteDecimal(addCakewalkTool));
}

}  // namespace mirlka

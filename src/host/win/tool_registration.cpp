#include "host/win/tool_registration.h"

#include <optional>

#include "base/paths.h"
#include "base/win/code_page.h"
#include "base/win/library_function.h"
#include "base/win/module_path.h"
#include "base/win/owned.h"
#include "host/tool_entry.h"
#include "host/win/file_version.h"
#include "res/resource.h"
#include "ui/win/res_string.h"

namespace mirlka {
namespace {

// The host is a 32-bit program and reads the 32-bit view of HKEY_LOCAL_MACHINE\SOFTWARE; a 64-bit
// build of this program must write where the host looks.
constexpr REGSAM kHostView = KEY_WOW64_32KEY;

LONG DeleteKeyInHostView(HKEY parent, const char* name) {
    // Windows before XP x64 has no RegDeleteKeyExA, and only the one view.
    using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    static const auto deleteKeyEx =
        LookUpFunction<DeleteKeyExFn>(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA");
    return deleteKeyEx ? deleteKeyEx(parent, name, kHostView, 0) : RegDeleteKeyA(parent, name);
}

void SetText(HKEY key, HINSTANCE module, UINT nameId, const std::string& text) {
    // A refused write must not keep the other values from being written: results are not looked at.
    RegSetValueExA(key, ResString(nameId, module).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// The short form in the ANSI code page; without one, the full path there.
std::optional<std::string> ToolExePath(const std::wstring& exePath) {
    wchar_t shortPath[kMaxPath];
    const DWORD shortLength = GetShortPathNameW(exePath.c_str(), shortPath, kMaxPath);
    if (shortLength > 0 && shortLength < kMaxPath) {
        if (auto ansi = ExactAnsiText(std::wstring_view(shortPath, shortLength))) {
            return ansi;
        }
    }
    // Without a short form the full path still lets the host start the program, if the code page
    // can write it.
    return ExactAnsiText(exePath);
}

}  // namespace

LONG DeleteKeyTree(HKEY parent, const char* name) {
    // An empty name opens `parent` itself: the walk would empty it and then delete it.
    if (!name || !*name) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS | kHostView, &opened);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    const OwnedKey key(opened);
    char child[256];
    for (;;) {
        // Index 0 every time: the child deleted last has left the list.
        DWORD size = sizeof child;
        result = RegEnumKeyExA(key.get(), 0, child, &size, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            break;
        }
        result = DeleteKeyTree(key.get(), child);
        if (result != ERROR_SUCCESS) {
            break;
        }
    }
    if (result == ERROR_NO_MORE_ITEMS || result == ERROR_KEY_DELETED) {
        result = DeleteKeyInHostView(parent, name);
    }
    return result;
}

LONG ApplyToolRegistration(std::int32_t addCakewalkTool, HINSTANCE module,
                           const std::wstring& exePath) {
    const std::string keyPath = ResString(IDS_TOOL_KEY, module);
    // Without its string table the path would be empty and name HKEY_LOCAL_MACHINE itself; without
    // a program path the host would be given an entry it cannot start.
    if (keyPath.empty() || (addCakewalkTool != 0 && exePath.empty())) {
        return ERROR_INVALID_PARAMETER;
    }
    if (addCakewalkTool == 0) {
        return DeleteKeyTree(HKEY_LOCAL_MACHINE, keyPath.c_str());
    }
    // A path with "?" in it would give the host an entry that starts nothing: the entry is left
    // as it is, written by some copy of the program that the host can start, or not there.
    const std::optional<std::string> toolPath = ToolExePath(exePath);
    if (!toolPath) {
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    HKEY created = nullptr;
    const LONG result =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | kHostView, nullptr, &created, nullptr);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    const OwnedKey key(created);
    const std::uint32_t version = ReadFileVersion(exePath.c_str());
    SetText(key.get(), module, IDS_TOOL_EXE_PATH_NAME, *toolPath);
    const std::string display = ToolDisplayText(ResString(IDS_TOOL_DISPLAY_NAME, module), version);
    SetText(key.get(), module, IDS_TOOL_MENU_TEXT_NAME, display);
    SetText(key.get(), module, IDS_TOOL_STATUS_BAR_TEXT_NAME, display);
    SetText(key.get(), module, IDS_TOOL_TYPE_NAME, ResString(IDS_TOOL_TYPE_GENERIC, module));
    return ERROR_SUCCESS;
}

void UpdateToolRegistration(std::int32_t addCakewalkTool, HINSTANCE module) {
    ApplyToolRegistration(addCakewalkTool, module, ModulePath(module));
}

}  // namespace mirlka

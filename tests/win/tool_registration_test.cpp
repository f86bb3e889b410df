// The Tools-menu entry in the test bed's registry, where the 32-bit host would read it. The bed's
// registry is the tests' own: the host's whole key goes before and after each test. The tests
// clean up with RegDeleteTreeA, which the program itself cannot rely on (Windows XP).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "host/win/tool_registration.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "res/resource.h"
#include "win/test_support.h"

namespace {

using mirlka::ApplyToolRegistration;
using mirlka::test::BesideExe;
using mirlka::test::Wide;

constexpr char kHostKey[] = "SOFTWARE\\Cakewalk Music Software";
constexpr char kEntry[] = MIRLKA_TOOL_KEY;
constexpr REGSAM kHostView = KEY_WOW64_32KEY;

HKEY OpenKey(const std::string& path, REGSAM access = KEY_ALL_ACCESS | kHostView) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key);
    return key;
}

bool KeyExists(const std::string& path, REGSAM view = kHostView) {
    // READ_CONTROL: even a key that denies everything else answers.
    HKEY key = OpenKey(path, READ_CONTROL | view);
    return key && RegCloseKey(key) == ERROR_SUCCESS;
}

void CreateKey(const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kHostView,
                    nullptr, &key, nullptr);
    RegCloseKey(key);
}

// Each value of the entry: its stored bytes with the terminator, or "(not REG_SZ)".
std::map<std::string, std::string> Values() {
    std::map<std::string, std::string> values;
    HKEY key = OpenKey(kEntry);
    char name[256], data[2048];
    for (DWORD i = 0, n = sizeof name, size = sizeof data, type = 0;
         RegEnumValueA(key, i, name, &n, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == 0;
         ++i, n = sizeof name, size = sizeof data) {
        values[name] = type == REG_SZ ? std::string(data, size) : "(not REG_SZ)";
    }
    RegCloseKey(key);
    return values;
}

class ToolRegistration : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(module_, nullptr);
        Clean();
    }
    void TearDown() override {
        SetLocked(false);
        Clean();
    }
    static void Clean() {
        for (const REGSAM view : {kHostView, REGSAM{KEY_WOW64_64KEY}}) {
            if (HKEY key = OpenKey(kHostKey, KEY_ALL_ACCESS | view)) {
                RegDeleteTreeA(key, nullptr);
                RegCloseKey(key);
            }
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kHostKey, view, 0);
        }
    }
    // An empty access list denies everything, none at all allows everything; an owner may always
    // change the list.
    static void SetLocked(bool locked) {
        if (HKEY key = OpenKey(std::string(kEntry) + "\\B\\Locked", WRITE_DAC | kHostView)) {
            SECURITY_DESCRIPTOR descriptor;
            InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
            ACL empty;
            InitializeAcl(&empty, sizeof empty, ACL_REVISION);
            SetSecurityDescriptorDacl(&descriptor, TRUE, locked ? &empty : nullptr, FALSE);
            EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), 0);
            RegCloseKey(key);
        }
    }

    mirlka::test::Module program_ = mirlka::test::LoadAsData();
    HMODULE module_ = program_.get();
};

// The copy lies in a folder whose name code page 932 cannot write: the short form can.
TEST_F(ToolRegistration, WritesTheFourValuesWithTheShortPath) {
    const mirlka::test::TempFolder folder("Mirelka tool registration");
    const std::wstring inner = Wide(folder.path()) + L"J\u00F6rg";
    const std::wstring program = inner + L"\\Mirelka for Cakewalk program.exe";
    CreateDirectoryW(inner.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Wide(BesideExe("mirlka.exe")).c_str(), program.c_str(), FALSE));
    EXPECT_EQ(ApplyToolRegistration(1, module_, program), ERROR_SUCCESS);
    auto values = Values();
    // The short form: no blank, one terminator at the end, and it names the copy.
    const std::string exePath = values["ExePath"];
    EXPECT_EQ(exePath.find_first_of(std::string(" ?\0", 3)), exePath.size() - 1) << exePath;
    wchar_t longForm[MAX_PATH] = L"";
    GetLongPathNameW(Wide(exePath.substr(0, exePath.size() - 1)).c_str(), longForm, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(longForm, program.c_str()), 0) << exePath;
    const std::string text("Mirelka 1.1", 12);
    EXPECT_EQ(values, (std::map<std::string, std::string>{{"ExePath", exePath},
                                                          {"MenuText", text},
                                                          {"StatusBarText", text},
                                                          {"Type", std::string("Generic", 8)}}));
    // Only the 32-bit view, the one the host reads, holds the entry; a 32-bit system has no other.
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && (wow64 || sizeof(void*) == 8)) {
        EXPECT_FALSE(KeyExists(kEntry, KEY_WOW64_64KEY));
    }
}

TEST_F(ToolRegistration, AgainKeepsOthersValuesAndClearedRemovesTheTreeButNothingAbove) {
    // No short form and no version exist for a file that is not there: the full path, when the
    // code page can write it; when not, no entry.
    ASSERT_EQ(ApplyToolRegistration(1, module_, L"C:\\no such folder\\\uD55C\\x.exe"),
              ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_FALSE(KeyExists(kEntry));
    const std::string missing = "C:\\no such folder\\Mirelka for Cakewalk.exe";
    ASSERT_EQ(ApplyToolRegistration(1, module_, Wide(missing)), ERROR_SUCCESS);
    auto values = Values();
    EXPECT_EQ(values["ExePath"], missing + '\0');
    EXPECT_EQ(values["MenuText"], std::string("Mirelka 0.0", 12));

    HKEY key = OpenKey(kEntry);
    RegSetValueExA(key, "Arguments", 0, REG_SZ, reinterpret_cast<const BYTE*>("-quiet"), 7);
    RegCloseKey(key);
    for (const char* sub : {"\\Profiles\\A\\Deep\\Deeper", "\\Profiles\\B", "\\Other"}) {
        CreateKey(kEntry + std::string(sub));
    }
    // Any non-zero flag, a negative one too, keeps the entry.
    ASSERT_EQ(ApplyToolRegistration(-1, module_, Wide(BesideExe("mirlka.exe"))), ERROR_SUCCESS);
    values = Values();
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(values["Arguments"], std::string("-quiet", 7));
    EXPECT_EQ(values["MenuText"], std::string("Mirelka 1.1", 12));

    EXPECT_EQ(ApplyToolRegistration(0, module_, L""), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(kEntry));
    EXPECT_TRUE(KeyExists("SOFTWARE\\Cakewalk Music Software\\Tools Menu"));
    EXPECT_EQ(ApplyToolRegistration(0, module_, L""), ERROR_FILE_NOT_FOUND);
}

// Without a string table the key path would be empty and name HKLM itself; without a program path
// (the module's file name cut or unknown) the host would get an entry it cannot start.
TEST_F(ToolRegistration, NoStringTableOrNoProgramPathChangesNothing) {
    for (HMODULE module : {GetModuleHandleA(nullptr), module_}) {
        const std::wstring exePath = module == module_ ? L"" : Wide(BesideExe("mirlka.exe"));
        EXPECT_EQ(ApplyToolRegistration(1, module, exePath), ERROR_INVALID_PARAMETER);
        EXPECT_FALSE(KeyExists(kEntry));
        EXPECT_EQ(RegQueryValueExA(HKEY_LOCAL_MACHINE, "", nullptr, nullptr, nullptr, nullptr),
                  ERROR_FILE_NOT_FOUND);
    }
}

// Sub-keys are listed by name: A goes first, B stops the walk, C is never reached.
TEST_F(ToolRegistration, AFailureDeepDownStopsTheWalkAndKeepsEverythingAbove) {
    const std::string entry = kEntry;
    for (const char* sub : {"\\A\\Gone", "\\B\\Locked\\Below", "\\C"}) {
        CreateKey(entry + sub);
    }
    // An empty name would open the parent itself and empty it.
    HKEY key = OpenKey(entry);
    EXPECT_EQ(mirlka::DeleteKeyTree(key, ""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(mirlka::DeleteKeyTree(key, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
    EXPECT_TRUE(KeyExists(entry + "\\A\\Gone"));

    SetLocked(true);
    EXPECT_EQ(ApplyToolRegistration(0, module_, L""), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(KeyExists(entry + "\\A"));
    EXPECT_TRUE(KeyExists(entry + "\\B\\Locked"));
    EXPECT_TRUE(KeyExists(entry + "\\C"));
}

}  // namespace

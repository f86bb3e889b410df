// The Tools-menu entry in the test bed's registry, where the 32-bit host would read it.
// The tests clean up with RegDeleteTreeA, which the program itself cannot rely on (Windows XP).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "host/win/file_version.h"
#include "host/win/tool_registration.h"
#include "win/test_support.h"

namespace {

using mirlka::ApplyToolRegistration;
using mirlka::DeleteKeyTree;
using mirlka::test::BesideExe;

constexpr char kToolsMenu[] = "SOFTWARE\\Cakewalk Music Software\\Tools Menu";
constexpr char kEntry[] = "SOFTWARE\\Cakewalk Music Software\\Tools Menu\\mirlka";
constexpr REGSAM kHostView = KEY_WOW64_32KEY;

HKEY OpenKey(const std::string& path, REGSAM access = KEY_ALL_ACCESS | kHostView) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key) == ERROR_SUCCESS
               ? key
               : nullptr;
}

bool KeyExists(const std::string& path, REGSAM view = kHostView) {
    // READ_CONTROL: even a key that denies everything else answers.
    HKEY key = OpenKey(path, READ_CONTROL | view);
    return key && RegCloseKey(key) == ERROR_SUCCESS;
}

HKEY CreateKey(const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kHostView,
                    nullptr, &key, nullptr);
    return key;
}

void DeleteTree(const std::string& path, REGSAM view = kHostView) {
    const std::size_t cut = path.find_last_of('\\');
    if (HKEY parent = OpenKey(path.substr(0, cut), KEY_ALL_ACCESS | view)) {
        RegDeleteTreeA(parent, path.substr(cut + 1).c_str());
        RegDeleteKeyExA(parent, path.substr(cut + 1).c_str(), view, 0);
        RegCloseKey(parent);
    }
}

// A value as stored: `data` holds exactly the stored bytes, terminator included.
struct Value {
    std::string name;
    DWORD type;
    std::string data;
    bool operator==(const Value&) const = default;
};

std::vector<Value> ReadValues(const char* path) {
    std::vector<Value> values;
    if (HKEY key = OpenKey(path)) {
        char name[256];
        BYTE data[2048];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        for (DWORD i = 0; RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) ==
                          ERROR_SUCCESS;
             ++i, nameSize = sizeof name, dataSize = sizeof data) {
            values.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
        }
        RegCloseKey(key);
    }
    return values;
}

// The stored bytes of value `name`, or a text that no stored value equals.
std::string DataOf(const std::vector<Value>& values, const std::string& name) {
    const auto found = std::ranges::find(values, name, &Value::name);
    return found == values.end() ? "(no value " + name + ")" : found->data;
}

// The 64-bit build's version is read in the registration tests below.
TEST(ReadFileVersion, TheShippedProgramIs1Point1) {
    EXPECT_EQ(mirlka::ReadFileVersion(MIRLKA_EXE32_PATH), 0x00010001u);
}

// Runs against the entry's real key in the test bed's own registry, which nothing else needs: the
// host's whole key goes before and after each test, in both registry views.
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
            DeleteTree("SOFTWARE\\Cakewalk Music Software", view);
        }
    }

    // An empty access list denies everything, none at all allows everything; an owner may always
    // change the list.
    static void SetLocked(bool locked) {
        HKEY key = OpenKey(std::string(kEntry) + "\\B\\Locked", WRITE_DAC | kHostView);
        if (!key) {
            return;
        }
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, locked ? &empty : nullptr, FALSE);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    mirlka::test::Module program_ = mirlka::test::LoadAsData();
    HMODULE module_ = program_.get();
};

TEST_F(ToolRegistration, WritesTheFourValuesInOrderWithTheShortPath) {
    const mirlka::test::TempFolder folder("Mirelka tool registration");
    const std::string program = folder / "Mirelka for Cakewalk program.exe";
    ASSERT_TRUE(CopyFileA(BesideExe("mirlka.exe").c_str(), program.c_str(), FALSE));
    EXPECT_EQ(ApplyToolRegistration(1, module_, program), ERROR_SUCCESS);
    const std::vector<Value> values = ReadValues(kEntry);
    // Windows lists values in the order they were written; Wine lists them by name, which happens
    // to be the same order for these four.
    ASSERT_EQ(values.size(), 4u);
    const std::string& exePath = values[0].data;
    EXPECT_EQ(values, (std::vector<Value>{{"ExePath", REG_SZ, exePath},
                                          {"MenuText", REG_SZ, std::string("Mirelka 1.1", 12)},
                                          {"StatusBarText", REG_SZ, std::string("Mirelka 1.1", 12)},
                                          {"Type", REG_SZ, std::string("Generic", 8)}}));
    // The short form: no blank, one terminator at the end, and it names the copy.
    EXPECT_EQ(exePath.find_first_of(std::string(" \0", 2)), exePath.size() - 1) << exePath;
    char longForm[MAX_PATH] = "";
    GetLongPathNameA(exePath.c_str(), longForm, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(longForm, program.c_str()), 0) << exePath << " is " << longForm;
    // Only the 32-bit view, the one the host reads, holds the entry.
    EXPECT_FALSE(KeyExists(kEntry, KEY_WOW64_64KEY));
}

TEST_F(ToolRegistration, AgainKeepsOthersValuesAndClearedRemovesTheTreeButNothingAbove) {
    // No short form and no version exist for a file that is not there.
    const std::string missing = "C:\\no such folder\\Mirelka for Cakewalk.exe";
    ASSERT_EQ(ApplyToolRegistration(1, module_, missing), ERROR_SUCCESS);
    EXPECT_EQ(DataOf(ReadValues(kEntry), "ExePath"), missing + '\0');
    EXPECT_EQ(DataOf(ReadValues(kEntry), "MenuText"), std::string("Mirelka 0.0", 12));

    HKEY key = CreateKey(kEntry);
    RegSetValueExA(key, "Arguments", 0, REG_SZ, reinterpret_cast<const BYTE*>("-quiet"), 7);
    RegCloseKey(key);
    for (const char* sub : {"\\Profiles\\A\\Deep\\Deeper", "\\Profiles\\B", "\\Other"}) {
        RegCloseKey(CreateKey(kEntry + std::string(sub)));
    }
    // Any non-zero flag, a negative one too, keeps the entry.
    ASSERT_EQ(ApplyToolRegistration(-1, module_, BesideExe("mirlka.exe")), ERROR_SUCCESS);
    const std::vector<Value> values = ReadValues(kEntry);
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(DataOf(values, "Arguments"), std::string("-quiet", 7));
    EXPECT_EQ(DataOf(values, "MenuText"), std::string("Mirelka 1.1", 12));

    EXPECT_EQ(ApplyToolRegistration(0, module_, ""), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(kEntry));
    EXPECT_TRUE(KeyExists(kToolsMenu));
    EXPECT_EQ(ApplyToolRegistration(0, module_, ""), ERROR_FILE_NOT_FOUND);
}

// Without a string table the key path would be empty and name HKLM itself; without a program path
// (the module's file name cut or unknown) the host would get an entry it cannot start.
TEST_F(ToolRegistration, NoStringTableOrNoProgramPathChangesNothing) {
    const struct {
        HMODULE module;
        std::string exePath;
    } cases[] = {{GetModuleHandleA(nullptr), BesideExe("mirlka.exe")}, {module_, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyToolRegistration(1, c.module, c.exePath), ERROR_INVALID_PARAMETER);
        EXPECT_FALSE(KeyExists(kEntry));
        const LONG found =
            RegQueryValueExA(HKEY_LOCAL_MACHINE, "", nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(found, ERROR_FILE_NOT_FOUND);
        if (found == ERROR_SUCCESS) {
            RegDeleteValueA(HKEY_LOCAL_MACHINE, "");
        }
    }
}

// Sub-keys are listed by name: A goes first, B stops the walk, C is never reached.
TEST_F(ToolRegistration, AFailureDeepDownStopsTheWalkAndKeepsEverythingAbove) {
    const std::string entry = kEntry;
    for (const char* sub : {"\\A\\Gone", "\\B\\Locked\\Below", "\\C"}) {
        RegCloseKey(CreateKey(entry + sub));
    }
    // An empty name would open the parent itself and empty it.
    HKEY key = OpenKey(entry);
    EXPECT_EQ(DeleteKeyTree(key, ""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(DeleteKeyTree(key, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
    EXPECT_TRUE(KeyExists(entry + "\\A\\Gone"));

    SetLocked(true);
    EXPECT_EQ(ApplyToolRegistration(0, module_, ""), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(KeyExists(entry + "\\A"));
    EXPECT_TRUE(KeyExists(entry + "\\B\\Locked"));
    EXPECT_TRUE(KeyExists(entry + "\\C"));
}

}  // namespace

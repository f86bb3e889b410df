// The Tools-menu entry in the test bed's registry, where the 32-bit host would read it.
// The tests clean up with RegDeleteTreeA, which the program itself cannot rely on (Windows XP).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win/app_globals.h"
#include "host/win/tool_registration.h"
#include "win/test_support.h"

namespace {

using mirlka::ApplyToolRegistration;
using mirlka::DeleteKeyTree;
using mirlka::test::BesideExe;
using mirlka::test::ThisExe;

constexpr char kToolsMenu[] = "SOFTWARE\\Cakewalk Music Software\\Tools Menu";
constexpr char kEntry[] = "SOFTWARE\\Cakewalk Music Software\\Tools Menu\\mirlka";
constexpr REGSAM kHostView = KEY_WOW64_32KEY;

HKEY OpenKey(HKEY root, const std::string& path, REGSAM access = KEY_ALL_ACCESS | kHostView) {
    HKEY key = nullptr;
    return RegOpenKeyExA(root, path.c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view = kHostView) {
    // READ_CONTROL: even a key that denies everything else answers.
    HKEY key = OpenKey(root, path, READ_CONTROL | view);
    return key && RegCloseKey(key) == ERROR_SUCCESS;
}

HKEY CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kHostView, nullptr, &key,
                    nullptr);
    return key;
}

void DeleteTree(HKEY root, const std::string& path, REGSAM view = kHostView) {
    const std::size_t cut = path.find_last_of('\\');
    if (HKEY parent = OpenKey(root, path.substr(0, cut), KEY_ALL_ACCESS | view)) {
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
    if (HKEY key = OpenKey(HKEY_LOCAL_MACHINE, path)) {
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
    for (const Value& value : values) {
        if (value.name == name) {
            return value.data;
        }
    }
    return "(no value " + name + ")";
}

void SetString(HKEY root, const std::string& path, const char* name, const std::string& text) {
    HKEY key = CreateKey(root, path);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

TEST(ReadFileVersion, MajorAndMinorOrZero) {
    const std::string program = BesideExe("mirlka.exe"), self = ThisExe(),
                      missing = BesideExe("no such file.exe");
    const struct {
        const char* path;
        std::uint32_t expected;
    } cases[] = {
        {program.c_str(), 0x00010001u},
        {MIRLKA_EXE32_PATH, 0x00010001u},
        {self.c_str(), 0u},
        {missing.c_str(), 0u},
        {nullptr, 0u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mirlka::ReadFileVersion(c.path), c.expected) << (c.path ? c.path : "null");
    }
}

// Runs against the entry's real key. Whatever the test bed held there before (the program may have
// registered itself in an earlier test) is put back afterwards, in both registry views; an entry
// has values only, no sub-keys.
class ToolRegistration : public ::testing::Test {
  protected:
    struct Key {
        REGSAM view;
        const char* path;
        bool existed = false;
    };

    void SetUp() override {
        ASSERT_NE(module_, nullptr);
        for (Key& key : keys_) {
            key.existed = KeyExists(HKEY_LOCAL_MACHINE, key.path, key.view);
        }
        saved_ = ReadValues(kEntry);
        DeleteTree(HKEY_LOCAL_MACHINE, kEntry);
    }

    void TearDown() override {
        DeleteTree(HKEY_LOCAL_MACHINE, kEntry);
        if (keys_[0].existed) {
            HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kEntry);
            for (const Value& value : saved_) {
                RegSetValueExA(key, value.name.c_str(), 0, value.type,
                               reinterpret_cast<const BYTE*>(value.data.data()),
                               static_cast<DWORD>(value.data.size()));
            }
            RegCloseKey(key);
        }
        for (const Key& key : keys_) {
            if (!key.existed) {
                DeleteTree(HKEY_LOCAL_MACHINE, key.path, key.view);
            }
        }
    }

    mirlka::test::Module program_ = mirlka::test::LoadAsData();
    HMODULE module_ = program_.get();
    // Deepest first; the host's view of the entry first of all.
    Key keys_[6] = {{kHostView, kEntry},
                    {kHostView, kToolsMenu},
                    {kHostView, "SOFTWARE\\Cakewalk Music Software"},
                    {KEY_WOW64_64KEY, kEntry},
                    {KEY_WOW64_64KEY, kToolsMenu},
                    {KEY_WOW64_64KEY, "SOFTWARE\\Cakewalk Music Software"}};
    std::vector<Value> saved_;
};

TEST_F(ToolRegistration, WritesTheFourValuesInOrderWithTheShortPath) {
    const mirlka::test::TempFolder folder("Mirelka tool registration");
    const std::string program = folder / "Mirelka for Cakewalk program.exe";
    const bool copied = CopyFileA(BesideExe("mirlka.exe").c_str(), program.c_str(), FALSE);
    const LONG result = ApplyToolRegistration(1, module_, program);
    char longForm[MAX_PATH] = "";
    const std::vector<Value> values = ReadValues(kEntry);
    if (!values.empty()) {
        GetLongPathNameA(values[0].data.c_str(), longForm, MAX_PATH);
    }

    ASSERT_TRUE(copied);
    EXPECT_EQ(result, ERROR_SUCCESS);
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
    EXPECT_EQ(lstrcmpiA(longForm, program.c_str()), 0) << exePath << " is " << longForm;
    // Only the 32-bit view, the one the host reads, holds the entry.
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kEntry, KEY_WOW64_64KEY), keys_[3].existed);
}

TEST_F(ToolRegistration, FilesWithoutVersionOrShortFormAndOtherValues) {
    ASSERT_EQ(ApplyToolRegistration(1, module_, ThisExe()), ERROR_SUCCESS);
    EXPECT_EQ(DataOf(ReadValues(kEntry), "MenuText"), std::string("Mirelka 0.0", 12));

    // No short form exists for a file that is not there: the full path is kept.
    const std::string missing = "C:\\no such folder\\Mirelka for Cakewalk.exe";
    ASSERT_EQ(ApplyToolRegistration(1, module_, missing), ERROR_SUCCESS);
    EXPECT_EQ(DataOf(ReadValues(kEntry), "ExePath"), missing + '\0');

    // Values of others survive; the program's own are overwritten.
    SetString(HKEY_LOCAL_MACHINE, kEntry, "Arguments", "-quiet");
    ASSERT_EQ(ApplyToolRegistration(1, module_, BesideExe("mirlka.exe")), ERROR_SUCCESS);
    const std::vector<Value> values = ReadValues(kEntry);
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(DataOf(values, "Arguments"), std::string("-quiet", 7));
    EXPECT_EQ(DataOf(values, "MenuText"), std::string("Mirelka 1.1", 12));
}

TEST_F(ToolRegistration, ClearedFlagRemovesTheWholeTreeButNothingAbove) {
    for (const char* sub : {"\\Profiles\\A\\Deep\\Deeper", "\\Profiles\\B", "\\Other"}) {
        SetString(HKEY_LOCAL_MACHINE, kEntry + std::string(sub), "Data", sub);
    }
    ASSERT_EQ(ApplyToolRegistration(1, module_, BesideExe("mirlka.exe")), ERROR_SUCCESS);

    EXPECT_EQ(ApplyToolRegistration(0, module_, ""), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kToolsMenu));

    // Nothing left to delete: the open error comes back and nothing else changes.
    EXPECT_EQ(ApplyToolRegistration(0, module_, ""), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kToolsMenu));
}

TEST_F(ToolRegistration, UpdateFollowsTheProcessWideFlag) {
    ASSERT_EQ(ApplyToolRegistration(1, module_, BesideExe("mirlka.exe")), ERROR_SUCCESS);
    const std::string exePath = DataOf(ReadValues(kEntry), "ExePath");
    const mirlka::AppGlobals saved = mirlka::Globals();
    // Loaded as data, the module has strings but no file name to ask for: without the program's
    // path no entry is written, and an existing one is left as it is.
    mirlka::Globals().instance = module_;
    const struct {
        std::int32_t flag;
        bool registered;
    } steps[] = {{1, true}, {0, false}, {1, false}};
    for (const auto& step : steps) {
        mirlka::Globals().addCakewalkTool = step.flag;
        mirlka::UpdateToolRegistration();
        EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kEntry), step.registered) << step.flag;
        if (step.registered) {
            EXPECT_EQ(DataOf(ReadValues(kEntry), "ExePath"), exePath);
        }
    }
    mirlka::Globals() = saved;
}

TEST_F(ToolRegistration, NoStringTableMeansNoRegistryChange) {
    // The test program has no string table: the key path would be empty and name HKLM itself.
    EXPECT_EQ(ApplyToolRegistration(1, GetModuleHandleA(nullptr), BesideExe("mirlka.exe")),
              ERROR_INVALID_PARAMETER);
    const LONG found = RegQueryValueExA(HKEY_LOCAL_MACHINE, "", nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(found, ERROR_FILE_NOT_FOUND);
    if (found == ERROR_SUCCESS) {
        RegDeleteValueA(HKEY_LOCAL_MACHINE, "");
    }
}

// The walk on its own, on scratch keys below HKEY_CURRENT_USER.
class KeyTreeDeletion : public ::testing::Test {
  protected:
    static constexpr char kScratch[] = "Software\\mirlka tests";

    void SetUp() override {
        scratch_ = CreateKey(HKEY_CURRENT_USER, kScratch);
        ASSERT_NE(scratch_, nullptr);
    }
    void TearDown() override {
        // An owner may always change the access list: open the locked key up again.
        if (HKEY locked = OpenKey(scratch_, "tree\\B\\Locked", WRITE_DAC)) {
            SetLocked(locked, false);
        }
        RegCloseKey(scratch_);
        DeleteTree(HKEY_CURRENT_USER, kScratch);
    }

    static void SetLocked(HKEY key, bool locked) {
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, locked ? &empty : nullptr, FALSE);
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    bool Has(const char* path) { return KeyExists(scratch_, path); }

    HKEY scratch_ = nullptr;
};

TEST_F(KeyTreeDeletion, RefusesAnEmptyNameAndDeletesRelativeToItsParent) {
    RegCloseKey(CreateKey(scratch_, "tree\\child\\grandchild"));
    // An empty name would open the parent itself and empty it.
    EXPECT_EQ(DeleteKeyTree(scratch_, ""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(DeleteKeyTree(scratch_, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(Has("tree\\child\\grandchild"));

    EXPECT_EQ(DeleteKeyTree(scratch_, "tree"), ERROR_SUCCESS);
    EXPECT_FALSE(Has("tree"));
    EXPECT_EQ(DeleteKeyTree(scratch_, "tree"), ERROR_FILE_NOT_FOUND);
}

TEST_F(KeyTreeDeletion, AFailureDeepDownStopsTheWalkAndKeepsEverythingAbove) {
    for (const char* path : {"tree\\A\\Gone", "tree\\B\\Locked\\Below", "tree\\C"}) {
        RegCloseKey(CreateKey(scratch_, path));
    }
    SetLocked(OpenKey(scratch_, "tree\\B\\Locked", WRITE_DAC), true);

    // Sub-keys are listed by name: A goes first, B stops the walk, C is never reached.
    EXPECT_EQ(DeleteKeyTree(scratch_, "tree"), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Has("tree\\A"));
    EXPECT_TRUE(Has("tree\\B\\Locked"));
    EXPECT_TRUE(Has("tree\\C"));
}

}  // namespace

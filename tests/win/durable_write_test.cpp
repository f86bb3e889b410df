// The durable write that keeps mirlka.ini and a CAL program file whole.
#include <gtest/gtest.h>

#include "base/win/durable_write.h"
#include "win/test_support.h"

namespace mirlka::test {
namespace {

// A disk that fills up half way: half the bytes reach the file, and the call succeeds.
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED) {
    return WriteFile(file, bytes, size / 2, written, nullptr);
}

// The old file stays byte for byte, and nothing is left beside it.
TEST(DurableWrite, AShortWriteKeepsTheOldFile) {
    const TempFolder folder("mirlka-write");
    const std::wstring target = Wide(folder / "mirlka.ini");
    ASSERT_EQ(WriteFileDurably(target, "[Old]\r\n1=3\r\n"), 0u);
    EXPECT_EQ(WriteFileDurably(target, "[New]\r\n1=4\r\n", ShortWrite), DWORD{ERROR_DISK_FULL});
    EXPECT_EQ(ReadFileBytes(target), "[Old]\r\n1=3\r\n");
    EXPECT_FALSE(ReadFileBytes(target + L".tmp"));
}

}  // namespace
}  // namespace mirlka::test

// Keys and values: statuses, names, round trips.
#include <algorithm>
#include <string>
#include <vector>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

using RegistryKeys = ContractTest;
using RegistryValues = ContractTest;

std::string Dword(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST_F(RegistryKeys, OpenOfMissingKeyIsNotFound) {
  RegKey key = 0;
  EXPECT_EQ(kFileNotFound,
            reg().OpenKey(kHkeyCurrentUser, ScratchPath("Missing"), kKeyQueryValue, &key));
}

TEST_F(RegistryKeys, CreateMakesEveryKeyOfADeepPathAndReopensWithoutLoss) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath("A\\B\\C\\D"), &key));
  ASSERT_TRUE(SetBytes(reg(), key, "v", kRegSz, std::string("x\0", 2)));
  EXPECT_EQ(kOk, reg().CloseKey(key));

  for (const char* level : {"A", "A\\B", "A\\B\\C", "A\\B\\C\\D"}) {
    RegKey opened = 0;
    EXPECT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath(level), kKeyRead, &opened)) << level;
    reg().CloseKey(opened);
  }
  // Creating an existing key opens it.
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath("A\\B\\C\\D"), &key));
  reg().CloseKey(key);
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath("A\\B\\C\\D"), "v", kRegSz,
                          std::string("x\0", 2)));
}

TEST_F(RegistryKeys, KeyNamesIgnoreCaseAndRootsAreSeparate) {
  ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath("Mixed\\Case"), "who", kRegSz,
                       std::string("user\0", 5)));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, "SOFTWARE\\qelmoracontract\\MIXED\\case", "who",
                          kRegSz, std::string("user\0", 5)));

  ASSERT_TRUE(PutValue(reg(), kHkeyLocalMachine, ScratchPath("Mixed\\Case"), "who", kRegSz,
                       std::string("machine\0", 8)));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath("Mixed\\Case"), "who", kRegSz,
                          std::string("user\0", 5)));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyLocalMachine, ScratchPath("Mixed\\Case"), "who", kRegSz,
                          std::string("machine\0", 8)));
}

TEST_F(RegistryKeys, DeleteKeyRefusesAKeyWithSubkeys) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath("Parent\\Child"), &key));
  reg().CloseKey(key);

  EXPECT_EQ(kAccessDenied, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("Parent")));
  EXPECT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath("Parent\\Child"), kKeyRead, &key));
  reg().CloseKey(key);

  EXPECT_EQ(kOk, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("parent\\CHILD")));
  EXPECT_EQ(kOk, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("Parent")));
  EXPECT_EQ(kFileNotFound, reg().OpenKey(kHkeyCurrentUser, ScratchPath("Parent"), kKeyRead, &key));
  EXPECT_EQ(kFileNotFound, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("Parent")));
}

TEST_F(RegistryKeys, AHandleOpenedForQueryCannotChangeValues) {
  ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath(), "keep", kRegDword, Dword(7)));
  RegKey key = 0;
  ASSERT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath(), kKeyQueryValue, &key));
  std::string bytes = Dword(8);
  EXPECT_EQ(kAccessDenied, reg().SetValue(key, "keep", kRegDword, bytes.data(), 4));
  EXPECT_EQ(kAccessDenied, reg().DeleteValue(key, "keep"));
  reg().CloseKey(key);
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), "keep", kRegDword, Dword(7)));
}

TEST_F(RegistryKeys, ClosingAHandleTwiceFailsTheSecondTime) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  EXPECT_EQ(kOk, reg().CloseKey(key));
  EXPECT_EQ(kInvalidHandle, reg().CloseKey(key));
}

TEST_F(RegistryValues, QueryReportsMissingValuesAndSizesWithoutABuffer) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  std::uint32_t type = 99;
  std::uint32_t size = 99;
  EXPECT_EQ(kFileNotFound, reg().QueryValue(key, "absent", &type, nullptr, &size));

  ASSERT_TRUE(SetBytes(reg(), key, "text", kRegExpandSz, std::string("%windir%\\a.exe\0", 15)));
  EXPECT_EQ(kOk, reg().QueryValue(key, "text", &type, nullptr, &size));
  EXPECT_EQ(kRegExpandSz, type);
  EXPECT_EQ(15u, size);
  EXPECT_EQ(kOk, reg().QueryValue(key, "text", nullptr, nullptr, nullptr));
  reg().CloseKey(key);
}

TEST_F(RegistryValues, QueryIntoASmallBufferGivesMoreDataAndLeavesTheBuffer) {
  std::string text(300, 'L');
  text += '\0';
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  ASSERT_TRUE(SetBytes(reg(), key, "long", kRegSz, text));
  ASSERT_TRUE(SetBytes(reg(), key, "bin", kRegBinary, "\x01\x02\x03\x04\x05"));

  for (const char* name : {"long", "bin"}) {
    std::string buffer(255, '#');
    std::uint32_t size = 4;
    std::uint32_t type = 0;
    EXPECT_EQ(kMoreData, reg().QueryValue(key, name, &type, &buffer[0], &size)) << name;
    EXPECT_EQ(std::string(255, '#'), buffer) << name;
    EXPECT_EQ(name == std::string("long") ? 301u : 5u, size) << name;
    EXPECT_EQ(name == std::string("long") ? kRegSz : kRegBinary, type) << name;
  }
  reg().CloseKey(key);
}

TEST_F(RegistryValues, EveryTypeRoundTripsByteForByte) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  std::string huge(70 * 1024, '\0');
  for (std::size_t i = 0; i < huge.size(); ++i) huge[i] = static_cast<char>('a' + i % 26);
  huge.back() = '\0';
  const std::string gbk = sys().ToAnsi("C:\\程序\\启动.exe /参数") + '\0';

  struct Case {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"sz", kRegSz, gbk},
      {"empty sz", kRegSz, std::string("\0", 1)},
      {"expand", kRegExpandSz, std::string("%SystemRoot%\\x.exe\0", 19)},
      {"multi", kRegMultiSz, std::string("one\0two\0\0", 9)},
      {"binary", kRegBinary, binary},
      {"dword", kRegDword, Dword(0xFFFFFFFFu)},
      {"qword", kRegQword, std::string("\x01\x00\x00\x00\x00\x00\x00\x80", 8)},
      {"none", kRegNone, ""},
      {"300 bytes", kRegSz, std::string(299, 'x') + '\0'},
      {"70 KB", kRegSz, huge},
      {"70 KB binary", kRegBinary, huge},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath(), c.name, c.type, c.bytes));
  }
  for (const Case& c : cases) {
    EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), c.name, c.type, c.bytes));
  }
}

TEST_F(RegistryValues, ValueNamesIgnoreAsciiCaseButNotChineseCharacters) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  ASSERT_TRUE(SetBytes(reg(), key, "RunMe", kRegSz, std::string("1\0", 2)));
  ASSERT_TRUE(SetBytes(reg(), key, "RUNME", kRegSz, std::string("2\0", 2)));
  const std::string startup = sys().ToAnsi("启动");
  ASSERT_TRUE(SetBytes(reg(), key, startup, kRegSz, std::string("3\0", 2)));
  // GBK 0x81 0x41 and 0x81 0x61: their trail bytes differ only in ASCII case.
  ASSERT_TRUE(SetBytes(reg(), key, "\x81\x41", kRegSz, std::string("4\0", 2)));
  ASSERT_TRUE(SetBytes(reg(), key, "\x81\x61", kRegSz, std::string("5\0", 2)));
  ASSERT_TRUE(SetBytes(reg(), key, "", kRegSz, std::string("default\0", 8)));

  std::vector<std::string> names;
  ASSERT_TRUE(EnumNames(reg(), key, &names));
  reg().CloseKey(key);
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {"", "RunMe", startup, "\x81\x41", "\x81\x61"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, names) << "a value set again keeps its first name";

  const std::string root = ScratchPath();
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, root, "runme", kRegSz, std::string("2\0", 2)));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, root, startup, kRegSz, std::string("3\0", 2)));
  EXPECT_TRUE(
      ExpectValue(reg(), kHkeyCurrentUser, root, "\x81\x41", kRegSz, std::string("4\0", 2)));
  EXPECT_TRUE(
      ExpectValue(reg(), kHkeyCurrentUser, root, "\x81\x61", kRegSz, std::string("5\0", 2)));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, root, "", kRegSz, std::string("default\0", 8)));
}

TEST_F(RegistryValues, DeleteRemovesOneValueAndReportsAMissingOne) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  ASSERT_TRUE(SetBytes(reg(), key, "a", kRegSz, std::string("1\0", 2)));
  ASSERT_TRUE(SetBytes(reg(), key, "b", kRegSz, std::string("2\0", 2)));
  EXPECT_EQ(kOk, reg().DeleteValue(key, "A"));
  EXPECT_EQ(kFileNotFound, reg().DeleteValue(key, "a"));
  reg().CloseKey(key);
  EXPECT_TRUE(ExpectNoValue(reg(), kHkeyCurrentUser, ScratchPath(), "a"));
  EXPECT_TRUE(
      ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), "b", kRegSz, std::string("2\0", 2)));
}

}  // namespace
}  // namespace qel::test

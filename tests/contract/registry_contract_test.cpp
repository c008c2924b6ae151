// Keys and values: statuses, names, round trips, and the enumeration the
// scan and the commit walk.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "contract/contract_helpers.h"
#include "support/startup_machine.h"

namespace qel::test {
namespace {

using Registry = ContractTest;

std::string Dword(std::uint32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }

TEST_F(Registry, KeysAreMadeWholePathsMatchedInAnyCaseAndKeptPerRoot) {
  RegKey key = 0;
  EXPECT_EQ(kFileNotFound, reg().OpenKey(kHkeyCurrentUser, ScratchPath("A"), kKeyQueryValue, &key));
  ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath("A\\B\\C"), "who", kRegSz, Sz("user")));
  ASSERT_TRUE(PutValue(reg(), kHkeyLocalMachine, ScratchPath("A\\B\\C"), "who", kRegSz, Sz("machine")));
  for (const char* level : {"A", "a\\B", "A\\b\\C"}) {
    EXPECT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath(level), kKeyRead, &key)) << level;
    reg().CloseKey(key);
  }
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, "SOFTWARE\\qelmoracontract\\a\\b\\c", "who", kRegSz, Sz("user")));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyLocalMachine, ScratchPath("A\\B\\C"), "who", kRegSz, Sz("machine")));

  EXPECT_EQ(kAccessDenied, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("A\\B"))) << "it has a subkey";
  EXPECT_EQ(kOk, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("a\\b\\c")));
  EXPECT_EQ(kOk, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("A\\B")));
  EXPECT_EQ(kFileNotFound, reg().DeleteKey(kHkeyCurrentUser, ScratchPath("A\\B")));
  EXPECT_EQ(kFileNotFound, reg().OpenKey(kHkeyCurrentUser, ScratchPath("A\\B"), kKeyRead, &key));
}

TEST_F(Registry, AHandleOpenedForQueryCannotChangeValues) {
  ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath(), "keep", kRegDword, Dword(7)));
  RegKey key = 0;
  ASSERT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath(), kKeyQueryValue, &key));
  EXPECT_EQ(kAccessDenied, reg().SetValue(key, "keep", kRegDword, Dword(8).data(), 4));
  EXPECT_EQ(kAccessDenied, reg().DeleteValue(key, "keep"));
  reg().CloseKey(key);
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), "keep", kRegDword, Dword(7)));
}

TEST_F(Registry, EveryTypeRoundTripsAndASmallBufferGetsMoreDataAndTheSize) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  std::string huge(70 * 1024, 'h');
  const struct {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  } cases[] = {
      {"sz", kRegSz, Sz(sys().ToAnsi("C:\\程序\\启动.exe /参数"))},
      {"empty", kRegSz, Sz("")},
      {"expand", kRegExpandSz, Sz("%SystemRoot%\\x.exe")},
      {"multi", kRegMultiSz, std::string("one\0two\0\0", 9)},
      {"binary", kRegBinary, binary},
      {"dword", kRegDword, Dword(0xFFFFFFFFu)},
      {"none", kRegNone, ""},
      {"70 KB", kRegSz, Sz(huge)},
  };
  for (const auto& c : cases) ASSERT_TRUE(PutValue(reg(), kHkeyCurrentUser, ScratchPath(), c.name, c.type, c.bytes));
  RegKey key = 0;
  ASSERT_EQ(kOk, reg().OpenKey(kHkeyCurrentUser, ScratchPath(), kKeyQueryValue, &key));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), c.name, c.type, c.bytes));
    if (c.bytes.size() <= 4) continue;
    std::string buffer(4, '#');
    std::uint32_t size = 4, type = 0;
    EXPECT_EQ(kMoreData, reg().QueryValue(key, c.name, &type, &buffer[0], &size));
    EXPECT_EQ(std::string(4, '#'), buffer) << "the buffer is left alone";
    EXPECT_EQ(c.bytes.size(), size);
    EXPECT_EQ(c.type, type);
  }
  std::uint32_t size = 0;
  EXPECT_EQ(kFileNotFound, reg().QueryValue(key, "absent", nullptr, nullptr, &size));
  reg().CloseKey(key);
}

TEST_F(Registry, ValueNamesIgnoreAsciiCaseButNotChineseCharacters) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  // GBK 0x81 0x41 and 0x81 0x61: their trail bytes differ only in ASCII case.
  for (const std::string& name : {std::string("RunMe"), std::string("RUNME"), std::string("\x81\x41"),
                                  std::string("\x81\x61"), std::string("gone"), std::string()})
    ASSERT_TRUE(SetBytes(reg(), key, name, kRegSz, Sz(name)));
  EXPECT_EQ(kOk, reg().DeleteValue(key, "GONE"));
  EXPECT_EQ(kFileNotFound, reg().DeleteValue(key, "gone"));
  std::vector<std::string> names;
  ASSERT_TRUE(EnumNames(reg(), key, &names));
  reg().CloseKey(key);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"", "RunMe", "\x81\x41", "\x81\x61"})) << "a value set again keeps its first name";
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), "runme", kRegSz, Sz("RUNME")));
  EXPECT_TRUE(ExpectValue(reg(), kHkeyCurrentUser, ScratchPath(), "\x81\x61", kRegSz, Sz("\x81\x61")));
}

TEST_F(Registry, EnumerationSkipsNothingWhenValuesAreDeletedAtIndexZeroOrDoNotFit) {
  RegKey key = 0;
  ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key));
  const std::string longText = Sz(std::string(299, 'x'));
  for (const char* name : {"one", "long", "two"})
    ASSERT_TRUE(SetBytes(reg(), key, name, kRegSz, name == std::string("long") ? longText : Sz(name)));

  std::vector<std::string> fitting;
  for (std::uint32_t index = 0;; ++index) {
    char name[255];
    std::memset(name, '#', sizeof name);
    std::uint32_t length = sizeof name, type = 0;
    char data[255];
    std::uint32_t dataLength = sizeof data;
    Status status = reg().EnumValue(key, index, name, &length, &type, data, &dataLength);
    if (status == kNoMoreItems) break;
    if (status == kMoreData) {
      EXPECT_EQ(300u, dataLength) << "the size the data needs";
      EXPECT_EQ('#', name[0]) << "the name is left alone";
      // Without a data buffer the same value reports its name and size.
      length = sizeof name;
      ASSERT_EQ(kOk, reg().EnumValue(key, index, name, &length, &type, nullptr, &dataLength));
      EXPECT_EQ("long", std::string(name, length));
      EXPECT_EQ(300u, dataLength);
      continue;
    }
    ASSERT_EQ(kOk, status);
    EXPECT_EQ(Sz(std::string(name, length)), std::string(data, dataLength));
    fitting.emplace_back(name, length);
  }
  std::sort(fitting.begin(), fitting.end());
  EXPECT_EQ(fitting, (std::vector<std::string>{"one", "two"}));

  std::vector<std::string> removed;
  for (int round = 0; round < 4; ++round) {
    char name[256];
    std::uint32_t length = sizeof name;
    if (reg().EnumValue(key, 0, name, &length, nullptr, nullptr, nullptr) != kOk) break;
    ASSERT_EQ(kOk, reg().DeleteValue(key, name));
    removed.emplace_back(name, length);
  }
  reg().CloseKey(key);
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, (std::vector<std::string>{"long", "one", "two"}));
}

}  // namespace
}  // namespace qel::test

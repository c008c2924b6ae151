// The registry layer on the memory machine: what reads give back, what
// writes store, byte for byte.
#include <gtest/gtest.h>

#include "registry/module1.h"
#include "support/startup_machine.h"

namespace qel::test {
namespace {

constexpr char kKey[] = "Software\\Qelmora\\Test";

class Module1Test : public ::testing::Test {
 protected:
  StartupMachine machine;
  Module1 registry{machine.platform.registry};

  RegValue Read(const std::string& name, Status* status = nullptr) {
    RegValue value = RegValue::FromText("untouched");
    Status s = registry.ReadRegValue(kHkeyCurrentUser, kKey, name, &value);
    if (status) *status = s;
    return value;
  }
};

TEST_F(Module1Test, ReadsStringsWholeWhateverTheirLength) {
  const std::string longText(300, 'x'), hugeText(70000, 'y');
  machine.PutString(kHkeyCurrentUser, kKey, "long", longText);
  machine.PutString(kHkeyCurrentUser, kKey, "huge", hugeText, kRegExpandSz);
  machine.PutString(kHkeyCurrentUser, kKey, "empty", "");
  machine.PutString(kHkeyCurrentUser, kKey, "path", "%SystemRoot%\\a.exe", kRegExpandSz);
  EXPECT_EQ(Read("long").TextForm(), longText);
  EXPECT_EQ(Read("huge").TextForm(), hugeText);
  EXPECT_EQ(Read("empty").TextForm(), "");
  EXPECT_EQ(Read("path").TextForm(), "%SystemRoot%\\a.exe");  // never expanded
  machine.registry.Put(kHkeyCurrentUser, kKey, "noNul", kRegSz, "abc");
  machine.registry.Put(kHkeyCurrentUser, kKey, "junk", kRegSz, std::string("ab\0cd\0", 6));
  EXPECT_EQ(Read("noNul").TextForm(), "abc");
  EXPECT_EQ(Read("junk").TextForm(), "ab");
}

TEST_F(Module1Test, ReadsIntegersAsSigned32BitValues) {
  machine.registry.PutDword(kHkeyCurrentUser, kKey, "minusOne", 0xFFFFFFFFu);
  machine.registry.Put(kHkeyCurrentUser, kKey, "short", kRegBinary, "\xFF\xFF");
  machine.registry.Put(kHkeyCurrentUser, kKey, "long", kRegBinary, "12345");
  EXPECT_EQ(Read("minusOne").TextForm(), "-1");
  EXPECT_EQ(Read("short").TextForm(), "65535");  // missing high bytes are zero
  Status status = kOk;
  EXPECT_EQ(Read("long", &status).TextForm(), "untouched");
  EXPECT_EQ(status, kMoreData);
}

TEST_F(Module1Test, FailedOrUnshowableReadsLeaveTheDataAlone) {
  machine.registry.Put(kHkeyCurrentUser, kKey, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  Status status = kMoreData;
  EXPECT_EQ(Read("multi", &status).TextForm(), "untouched");
  EXPECT_EQ(status, kOk);
  EXPECT_EQ(Read("missing", &status).TextForm(), "untouched");
  EXPECT_EQ(status, kFileNotFound);
  RegValue value = RegValue::FromText("untouched");
  EXPECT_EQ(registry.ReadRegValue(kHkeyCurrentUser, "Software\\Nowhere", "x", &value), kFileNotFound);
  EXPECT_EQ(value.TextForm(), "untouched");
}

TEST_F(Module1Test, WritesCreateTheKeyAndStoreExactBytes) {
  RegValue text = RegValue::FromText(G("启动项"));
  std::uint32_t size = 0;
  ASSERT_EQ(registry.WriteRegValue(kHkeyCurrentUser, "Software\\A\\B\\C", "t", kRegSz, &text, &size), kOk);
  EXPECT_EQ(size, 7u);  // six GBK bytes and the NUL
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, "Software\\A\\B\\C", "t", kRegSz, Sz(G("启动项"))));

  RegValue number = RegValue::FromInteger(-2);
  ASSERT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "d", kRegDword, &number, &size), kOk);
  EXPECT_EQ(size, 4u);
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kKey, "d", kRegDword, "\xFE\xFF\xFF\xFF"));

  RegValue two = RegValue::FromInteger(0x0102);
  size = 2;
  ASSERT_EQ(registry.WriteRegValue(kHkeyCurrentUser, kKey, "b", kRegBinary, &two, &size), kOk);
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kKey, "b", kRegBinary, "\x02\x01"));
}

TEST_F(Module1Test, DeletingUnderAMissingKeyReportsNotFoundAndChangesNothing) {
  EXPECT_EQ(registry.DeleteRegValue(kHkeyCurrentUser, "Software\\Nowhere", "x"), kFileNotFound);
  EXPECT_FALSE(machine.registry.HasKey(kHkeyCurrentUser, "Software\\Nowhere"));
}

TEST_F(Module1Test, EnumerationNeverStopsAtALongNameOrLongData) {
  const std::string longName(300, 'n');
  machine.PutString(kHkeyCurrentUser, kKey, "first", "a");
  machine.PutString(kHkeyCurrentUser, kKey, longName, std::string(1000, 'd'));
  machine.PutString(kHkeyCurrentUser, kKey, "last", "b");
  RegKey key = 0;
  ASSERT_EQ(registry.OpenRegKey(kHkeyCurrentUser, kKey, kKeyQueryValue, &key), kOk);
  std::vector<std::string> names;
  RegValueEntry entry;
  for (std::uint32_t i = 0; registry.EnumRegValue(key, i, &entry) == kOk; ++i) names.push_back(entry.name);
  registry.CloseRegKey(key);
  EXPECT_EQ(names.size(), 3u);
  EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
}

TEST(ValueNameFolding, FoldsAsciiLettersOnlyAndNeverATrailByte) {
  EXPECT_EQ(FoldValueName("RunMe"), "runme");
  // 0x81 0x41 is one GBK character whose trail byte happens to be 'A'.
  EXPECT_EQ(FoldValueName("\x81\x41Z"), "\x81\x41z");
}

}  // namespace
}  // namespace qel::test

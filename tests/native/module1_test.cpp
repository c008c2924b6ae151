// The registry layer on the memory machine: what reads give back, byte for byte.
#include <gtest/gtest.h>

#include "registry/module1.h"
#include "support/startup_machine.h"

namespace qel::test {
namespace {

constexpr char kKey[] = "Software\\Qelmora\\Test";

// A registry where the value "grows" gets longer before every query of it.
class GrowingRegistry : public mem::MemoryRegistry {
 public:
  Status QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
    PutString(kHkeyCurrentUser, kKey, "grows", grown += 'x');
    return MemoryRegistry::QueryValue(key, name, type, data, size);
  }
  std::string grown;
};

TEST(Module1Test, ReadsGiveTheTextOrIntegerOrLeaveTheDataAlone) {
  GrowingRegistry r;
  r.PutString(kHkeyCurrentUser, kKey, "long", std::string(300, 'x'));
  r.PutString(kHkeyCurrentUser, kKey, "huge", std::string(70000, 'y'), kRegExpandSz);
  r.PutString(kHkeyCurrentUser, kKey, "path", "%SystemRoot%\\a.exe", kRegExpandSz);
  r.Put(kHkeyCurrentUser, kKey, "junk", kRegSz, std::string("ab\0cd\0", 6));
  r.PutDword(kHkeyCurrentUser, kKey, "minusOne", 0xFFFFFFFFu);
  r.Put(kHkeyCurrentUser, kKey, "short", kRegBinary, "\xFF\xFF");
  r.Put(kHkeyCurrentUser, kKey, "blob", kRegBinary, "12345");
  r.Put(kHkeyCurrentUser, kKey, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  const struct { const char* name; std::string text; Status status; } cases[] = {
      {"long", std::string(300, 'x'), kOk}, {"huge", std::string(70000, 'y'), kOk},
      {"path", "%SystemRoot%\\a.exe", kOk}, {"junk", "ab", kOk}, {"minusOne", "-1", kOk}, {"short", "65535", kOk},
      {"blob", "untouched", kMoreData}, {"multi", "untouched", kOk}, {"missing", "untouched", kFileNotFound},
      {"grows", "untouched", kMoreData}};  // never zeros passed off as its text
  Module1 registry(r);
  for (const auto& c : cases) {
    RegValue value = RegValue::FromText("untouched");
    EXPECT_EQ(registry.ReadRegValue(kHkeyCurrentUser, kKey, c.name, &value), c.status) << c.name;
    EXPECT_EQ(value.TextForm(), c.text) << c.name;
  }
}

TEST(ValueNameFolding, FoldsAsciiLettersOnlyAndNeverATrailByte) {
  EXPECT_EQ(FoldValueName("RunMe"), "runme");
  EXPECT_EQ(FoldValueName("\x81\x41Z"), "\x81\x41z");  // 0x81 0x41: one GBK character
}

}  // namespace
}  // namespace qel::test

// RegEnumValueA: the walk the scanner and the commit rely on.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

class RegistryEnum : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    ASSERT_TRUE(CreateKey(reg(), kHkeyCurrentUser, ScratchPath(), &key_));
  }
  void TearDown() override {
    reg().CloseKey(key_);
    ContractTest::TearDown();
  }

  RegKey key_ = 0;
};

TEST_F(RegistryEnum, ListsEveryValueOnceThenNoMoreItems) {
  std::vector<std::string> names;
  ASSERT_TRUE(EnumNames(reg(), key_, &names));
  EXPECT_TRUE(names.empty());

  for (const char* name : {"zeta", "Alpha", "mid", "Beta"}) {
    ASSERT_TRUE(SetBytes(reg(), key_, name, kRegSz, std::string("x\0", 2)));
  }
  ASSERT_TRUE(EnumNames(reg(), key_, &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "mid", "zeta"}), names);
}

TEST_F(RegistryEnum, DeletingValueZeroMovesAnotherToTheFront) {
  for (const char* name : {"one", "two", "three"}) {
    ASSERT_TRUE(SetBytes(reg(), key_, name, kRegSz, std::string("x\0", 2)));
  }
  std::vector<std::string> removed;
  for (int round = 0; round < 4; ++round) {
    char name[256];
    std::uint32_t length = sizeof(name);
    Status status = reg().EnumValue(key_, 0, name, &length, nullptr, nullptr, nullptr);
    if (status == kNoMoreItems) break;
    ASSERT_EQ(kOk, status);
    ASSERT_EQ(kOk, reg().DeleteValue(key_, name));
    removed.emplace_back(name, length);
  }
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ((std::vector<std::string>{"one", "three", "two"}), removed);
}

TEST_F(RegistryEnum, ANameThatDoesNotFitIsCutAndReportedAsMoreData) {
  ASSERT_TRUE(SetBytes(reg(), key_, "abcdef", kRegSz, std::string("data\0", 5)));

  char name[16];
  std::memset(name, '#', sizeof(name));
  std::uint32_t length = 6;  // no room for the NUL
  std::uint32_t type = 0;
  char data[16];
  std::uint32_t dataLength = sizeof(data);
  EXPECT_EQ(kMoreData, reg().EnumValue(key_, 0, name, &length, &type, data, &dataLength));
  EXPECT_EQ(6u, length) << "the name length stays as given";
  EXPECT_EQ(std::string("abcde"), std::string(name)) << "cut to the buffer with a NUL";
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(5u, dataLength);

  length = 7;
  EXPECT_EQ(kOk, reg().EnumValue(key_, 0, name, &length, &type, data, &dataLength));
  EXPECT_EQ(6u, length) << "the name length without its NUL";
  EXPECT_EQ(std::string("abcdef"), std::string(name));
  EXPECT_EQ(std::string("data\0", 5), std::string(data, dataLength));
}

TEST_F(RegistryEnum, DataThatDoesNotFitLeavesTheNameUntouched) {
  std::string longText(299, 'x');
  longText += '\0';
  ASSERT_TRUE(SetBytes(reg(), key_, "long", kRegSz, longText));

  char name[255];
  std::memset(name, '#', sizeof(name));
  std::uint32_t length = sizeof(name);
  std::uint32_t type = 0;
  std::string data(255, '#');
  std::uint32_t dataLength = 255;
  EXPECT_EQ(kMoreData, reg().EnumValue(key_, 0, name, &length, &type, &data[0], &dataLength));
  EXPECT_EQ(255u, length);
  EXPECT_EQ('#', name[0]);
  EXPECT_EQ(kRegSz, type);
  EXPECT_EQ(300u, dataLength) << "the size the data needs";
  EXPECT_EQ(kNoMoreItems, reg().EnumValue(key_, 1, name, &length, &type, &data[0], &dataLength));
}

TEST_F(RegistryEnum, WithoutADataBufferOnlyTheSizeIsReported) {
  std::string longText(299, 'x');
  longText += '\0';
  ASSERT_TRUE(SetBytes(reg(), key_, "long", kRegSz, longText));

  char name[255];
  std::uint32_t length = sizeof(name);
  std::uint32_t type = 0;
  std::uint32_t dataLength = 1;
  EXPECT_EQ(kOk, reg().EnumValue(key_, 0, name, &length, &type, nullptr, &dataLength));
  EXPECT_EQ(std::string("long"), std::string(name, length));
  EXPECT_EQ(300u, dataLength);

  length = sizeof(name);
  EXPECT_EQ(kOk, reg().EnumValue(key_, 0, name, &length, nullptr, nullptr, nullptr));
  EXPECT_EQ(4u, length);
}

TEST_F(RegistryEnum, ValuesBeyondALongOneStayReachable) {
  ASSERT_TRUE(SetBytes(reg(), key_, "a", kRegSz, std::string(300, 'x') + '\0'));
  ASSERT_TRUE(SetBytes(reg(), key_, "b", kRegDword, std::string("\x01\0\0\0", 4)));
  int fitting = 0;
  int tooLong = 0;
  for (std::uint32_t index = 0; index < 2; ++index) {
    char name[255];
    std::uint32_t length = sizeof(name);
    char data[255];
    std::uint32_t dataLength = sizeof(data);
    Status status = reg().EnumValue(key_, index, name, &length, nullptr, data, &dataLength);
    if (status == kOk) ++fitting;
    if (status == kMoreData) ++tooLong;
  }
  EXPECT_EQ(1, fitting);
  EXPECT_EQ(1, tooLong);
}

}  // namespace
}  // namespace qel::test

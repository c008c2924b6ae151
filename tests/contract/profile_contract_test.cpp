// Win.ini section "windows" through GetProfileStringA / WriteProfileStringA.
#include <string>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

constexpr char kKey[] = "qelmora_contract_k";
constexpr char kOtherKey[] = "qelmora_contract_k2";

class Profile : public ContractTest {
 protected:
  void TearDown() override {
    profile().WriteProfileString("windows", kKey, nullptr);
    profile().WriteProfileString("windows", kOtherKey, nullptr);
    ContractTest::TearDown();
  }

  // The text GetProfileString gives with a buffer of size bytes, checking
  // that the count returned matches what was copied.
  std::string Read(const std::string& key, const std::string& fallback, std::uint32_t size) {
    std::string buffer(size + 8, '#');
    std::uint32_t count = profile().GetProfileString("windows", key, fallback, &buffer[0], size);
    EXPECT_LT(count, size);
    EXPECT_EQ('\0', buffer[count]) << "NUL after the copied text";
    return buffer.substr(0, count);
  }
};

TEST_F(Profile, AMissingKeyGivesTheFallback) { EXPECT_EQ("(error)", Read(kKey, "(error)", 255)); }

TEST_F(Profile, WrittenTextReadsBackWithNamesInAnyCase) {
  const std::string text = "a.exe " + sys().ToAnsi("启动.exe");
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, text.c_str()));
  EXPECT_EQ(text, Read("QELMORA_CONTRACT_K", "(error)", 255));
  std::string buffer(255, '\0');
  profile().GetProfileString("WINDOWS", kKey, "(error)", &buffer[0], 255);
  EXPECT_EQ(text, std::string(buffer.c_str()));
}

TEST_F(Profile, NoTextDeletesTheKeyAndDeletingAMissingKeyFails) {
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, "x.exe"));
  ASSERT_TRUE(profile().WriteProfileString("windows", kOtherKey, "y.exe"));
  EXPECT_TRUE(profile().WriteProfileString("windows", kKey, nullptr));
  EXPECT_EQ("(error)", Read(kKey, "(error)", 255));
  EXPECT_EQ("y.exe", Read(kOtherKey, "(error)", 255));
  EXPECT_FALSE(profile().WriteProfileString("windows", kKey, nullptr))
      << "deleting a missing key reports failure";
  EXPECT_EQ("(error)", Read(kKey, "(error)", 255));
}

TEST_F(Profile, AnEmptyTextIsAKeyNotAMissingOne) {
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, ""));
  EXPECT_EQ("", Read(kKey, "(error)", 255));
}

TEST_F(Profile, ALongTextIsCutToTheBuffer) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, text.c_str()));
  EXPECT_EQ(text.substr(0, 254), Read(kKey, "(error)", 255));
  EXPECT_EQ(text, Read(kKey, "(error)", 400));
}

TEST_F(Profile, AChineseTextIsCutWithItsCharactersWhole) {
  std::string chinese;
  for (int i = 0; i < 200; ++i) chinese += sys().ToAnsi("启");
  const std::string mixed = "a" + chinese;
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, mixed.c_str()));
  const std::string read = Read(kKey, "(error)", 255);
  // The last character that fits whole ends at byte 253; what follows it
  // differs (Windows cuts there, Wine fills one more byte).
  ASSERT_GE(read.size(), 253u);
  EXPECT_LE(read.size(), 254u);
  EXPECT_EQ(mixed.substr(0, 253), read.substr(0, 253));
}

TEST_F(Profile, SpacesAndQuotesAreKeptAndTheFallbackLosesTrailingBlanks) {
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, "  \"a.exe\"  b.exe  "));
  EXPECT_EQ("  \"a.exe\"  b.exe  ", Read(kKey, "(error)", 255));
  EXPECT_EQ("  (error)", Read(kOtherKey, "  (error)  ", 255));
  EXPECT_EQ("(er", Read(kOtherKey, "(error)", 4));
}

}  // namespace
}  // namespace qel::test

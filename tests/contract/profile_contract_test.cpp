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
  std::string Read(const std::string& key, const std::string& fallback, std::uint32_t size = 255) {
    std::string buffer(size + 8, '#');
    std::uint32_t count = profile().GetProfileString("WINDOWS", key, fallback, &buffer[0], size);
    EXPECT_LT(count, size);
    EXPECT_EQ('\0', buffer[count]) << "NUL after the copied text";
    return buffer.substr(0, count);
  }
};

TEST_F(Profile, KeysReadBackInAnyCaseAndAMissingOneGivesTheFallbackWithoutTrailingBlanks) {
  EXPECT_EQ("  (error)", Read(kKey, "  (error)  "));
  const std::string text = "  \"a.exe\"  " + sys().ToAnsi("启动.exe  ");
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, text.c_str()));
  ASSERT_TRUE(profile().WriteProfileString("windows", kOtherKey, ""));
  EXPECT_EQ(text, Read("QELMORA_CONTRACT_K", "(error)"));
  EXPECT_EQ("", Read(kOtherKey, "(error)")) << "an empty text is a key";

  EXPECT_TRUE(profile().WriteProfileString("windows", kKey, nullptr));
  EXPECT_EQ("(error)", Read(kKey, "(error)"));
  EXPECT_EQ("", Read(kOtherKey, "(error)"));
  EXPECT_FALSE(profile().WriteProfileString("windows", kKey, nullptr)) << "deleting a missing key fails";
}

TEST_F(Profile, ALongTextIsCutToTheBufferWithItsCharactersWhole) {
  std::string ascii;
  for (int i = 0; i < 300; ++i) ascii += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, ascii.c_str()));
  EXPECT_EQ(ascii.substr(0, 254), Read(kKey, "(error)"));
  EXPECT_EQ(ascii, Read(kKey, "(error)", 400));
  EXPECT_EQ("(er", Read(kOtherKey, "(error)", 4));

  std::string mixed = "a";
  for (int i = 0; i < 200; ++i) mixed += sys().ToAnsi("启");
  ASSERT_TRUE(profile().WriteProfileString("windows", kKey, mixed.c_str()));
  const std::string read = Read(kKey, "(error)");
  // The last character that fits whole ends at byte 253; what follows it
  // differs (Windows cuts there, Wine fills one more byte).
  ASSERT_GE(read.size(), 253u);
  EXPECT_LE(read.size(), 254u);
  EXPECT_EQ(mixed.substr(0, 253), read.substr(0, 253));
}

}  // namespace
}  // namespace qel::test

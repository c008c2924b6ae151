// System facts and the code page 936 conversion.
#include <string>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

using SystemFacts = ContractTest;

TEST_F(SystemFacts, TheAnsiCodePageIsGbk) {
  EXPECT_EQ(936u, sys().AnsiCodePage());
  EXPECT_EQ("\xC6\xF4\xB6\xAF", sys().ToAnsi("启动"));
  EXPECT_EQ("启动 Run.exe", sys().FromAnsi(sys().ToAnsi("启动 Run.exe")));
  EXPECT_EQ("", sys().ToAnsi(""));
  EXPECT_EQ("plain ascii", sys().FromAnsi("plain ascii"));
}

TEST_F(SystemFacts, TextsGbkCannotHoldBecomeQuestionMarks) {
  EXPECT_EQ("a?b", sys().ToAnsi("a한b"));  // Hangul
  EXPECT_EQ("a??b", sys().ToAnsi("a\xF0\x9F\x98\x80"
                                 "b"));  // an emoji: two UTF-16 units
}

TEST_F(SystemFacts, FoldersExistAndHaveNoTrailingBackslash) {
  for (const std::string& folder : {sys().SystemDirectory(), sys().ProgramFolder()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_NE('\\', folder.back()) << folder;
    std::uint32_t attributes = 0;
    ASSERT_EQ(kOk, files().GetAttributes(folder, &attributes)) << folder;
    EXPECT_TRUE(attributes & kAttrDirectory) << folder;
  }
}

}  // namespace
}  // namespace qel::test

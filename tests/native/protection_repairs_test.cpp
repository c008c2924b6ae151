// The two locks as the window reads them, and the two browser repairs.
#include <gtest/gtest.h>

#include "support/form1_fixture.h"

namespace qel::test {
namespace {

TEST_F(Form1Test, ALockCountsAsOnOnlyWhenItHoldsOne) {
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 2);
  machine.PutString(kHkeyCurrentUser, kControlPanel, "HomePage", "1");  // set by hand as text
  Load();
  EXPECT_EQ(form->Checkregedit.value(), 0);
  EXPECT_EQ(form->Checkhomepage.value(), 1);
}

TEST_F(Form1Test, RestoringTheBrowserTitleWritesBothRootsAndReports) {
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Window Title", "Hacked by x");
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Other", "kept");
  Load();
  form->Command7_Click();
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
    EXPECT_TRUE(HasValue(machine.registry, root, kBrowserMain, "Window Title", kRegSz, Sz("Microsoft Internet Explorer")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "Other", kRegSz, Sz("kept")));
  EXPECT_EQ(LastMessage(), G("IE标题恢复成功！"));
  EXPECT_FALSE(host.ended);
}

TEST_F(Form1Test, TitleRepairReportsSuccessWhenOnlyTheMachineWideWriteIsRefused) {
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kBrowserMain, true);
  form->Command7_Click();
  EXPECT_EQ(LastMessage(), G("IE标题恢复成功！"));
}

TEST_F(Form1Test, TitleRepairNamesTheFailureForTheCurrentUser) {
  Load();
  machine.registry.DenyWrite(kHkeyCurrentUser, kBrowserMain, true);
  form->Command7_Click();
  EXPECT_NE(LastMessage(), G("IE标题恢复成功！"));
  EXPECT_NE(LastMessage().find(G("拒绝访问")), std::string::npos);
}

TEST_F(Form1Test, ClearingTypedAddressesDeletesTheKeyAndCountsAMissingKeyAsDone) {
  machine.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/");
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  form->Command8_Click();
  EXPECT_FALSE(machine.registry.HasKey(kHkeyCurrentUser, kTypedUrls));
  EXPECT_EQ(LastMessage(), G("地址栏网址已被清除!"));
  form->Command8_Click();
  EXPECT_EQ(LastMessage(), G("地址栏网址已被清除!"));
  EXPECT_EQ(RowText(0), "a|a.exe|reg|1");  // the lists are not the repairs' business
}

TEST_F(Form1Test, ClearingTypedAddressesThatCannotBeDeletedSaysWhatFailed) {
  machine.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/");
  machine.registry.AddKey(kHkeyCurrentUser, std::string(kTypedUrls) + "\\sub");
  Load();
  form->Command8_Click();
  EXPECT_NE(LastMessage(), G("地址栏网址已被清除!"));
  EXPECT_TRUE(machine.registry.HasKey(kHkeyCurrentUser, kTypedUrls));
}

}  // namespace
}  // namespace qel::test

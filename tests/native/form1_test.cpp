// The main window on a memory machine: the start page and locks it reads and
// writes, and the two browser repairs (delete and cancel are driven on Wine).
#include "app/web_site.h"
#include "app/web_site_config.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

TEST_F(Form1Test, StartPageAndLocksAreReadAndWrittenBackAndTheWebSiteOpensOnFirstRunOnly) {
  machine.registry.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", G("http://主页/"));
  // A lock is on only when it holds one, as a DWORD or as text set by hand.
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 2);
  machine.registry.PutString(kHkeyCurrentUser, kControlPanel, "HomePage", "1");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoClose", 1);
  Load();
  EXPECT_EQ(form->Text1.text() + "|" + std::to_string(form->Checkregedit.value() * 10 + form->Checkhomepage.value()),
            G("http://主页/") + "|1");
  form->Text1.SetText("");
  form->Command2_Click();
  EXPECT_FALSE(machine.registry.Get(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", nullptr, nullptr));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "HomePage", kRegDword, std::string("\1\0\0\0", 4)));
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
    EXPECT_TRUE(HasValue(machine.registry, root, kBrowserMain, "start page", kRegSz, Sz("about:blank")));
  EXPECT_EQ(machine.registry.ValueNames(kHkeyCurrentUser, kExplorerPolicies).size(), 0u);
  // A page that is there but cannot be read is kept, unless the user typed one.
  for (const char* typed : {"", "http://new/"}) {
    machine.registry.Put(kHkeyCurrentUser, kBrowserMain, "Start Page", kRegBinary, "12345678");
    Load();
    form->Text1.SetText(typed);
    form->Command2_Click();
    EXPECT_TRUE(*typed ? HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegSz, Sz(typed))
                       : HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegBinary, "12345678"));
  }
  const auto& calls = machine.memory.system.opened;
  // What the build was configured to open: the shipped page in the program's folder by default.
  const std::string page = *QELMORA_WEB_SITE ? G(QELMORA_WEB_SITE) : "C:\\Program Files\\Qelmora\\" + G("说明.htm");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], page);
  if (!WebSiteIsShippedPage()) return;  // a configured site is not looked for
  machine.files.DeleteFile(page);
  form->Command11_Click();  // without the page nothing opens, and the user is told
  EXPECT_EQ(std::to_string(calls.size()) + LastMessage(), "1" + G("找不到说明页：") + page);
}

TEST_F(Form1Test, BrowserRepairsSayWhetherTheUsersKeysWereMended) {
  form = std::make_unique<Form1>(machine.platform, host);
  std::vector<bool> mended;
  machine.registry.DenyWrite(kHkeyLocalMachine, kBrowserMain, true);
  form->Command7_Click();  // the user's title is what counts
  mended.push_back(HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "Window Title",
                            kRegSz, Sz("Microsoft Internet Explorer")));
  machine.registry.DeleteKey(kHkeyCurrentUser, kBrowserMain);
  machine.registry.DenyWrite(kHkeyCurrentUser, kBrowserMain, true);
  form->Command7_Click();
  form->Command8_Click();  // nothing typed: nothing to clear
  for (bool withSubkey : {false, true}) {
    machine.registry.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/");
    if (withSubkey) machine.registry.PutString(kHkeyCurrentUser, std::string(kTypedUrls) + "\\sub", "", "");
    form->Command8_Click();
    mended.push_back(!machine.registry.HasKey(kHkeyCurrentUser, kTypedUrls));
  }
  std::string told;
  for (const std::string& box : host.boxes) told += box + "|";
  EXPECT_EQ(mended, std::vector<bool>({true, true, false}));
  EXPECT_EQ(told, G("IE标题恢复成功！|恢复IE标题失败：拒绝访问（错误 5）|地址栏网址已被清除!|"
                    "地址栏网址已被清除!|清除地址栏网址失败：拒绝访问（错误 5）|"));
}

}  // namespace
}  // namespace qel::test

// The main window on a memory machine: the start page and locks it reads and
// writes, and the two browser repairs (delete and cancel are driven on Wine).
#include <gtest/gtest.h>

#include "app/web_site.h"
#include "app/web_site_config.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

TEST_F(Form1Test, StartPageAndLocksAreReadAndWrittenBackAndTheWebSiteOpensOnFirstRunOnly) {
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", G("http://主页/"));
  // A lock is on only when it holds one, as a DWORD or as text set by hand.
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 2);
  machine.PutString(kHkeyCurrentUser, kControlPanel, "HomePage", "1");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoClose", 1);
  Load();
  EXPECT_EQ(form->Text1.text() + "|" + std::to_string(form->Checkregedit.value() * 10 + form->Checkhomepage.value()),
            G("http://主页/") + "|1");
  form->Text1.SetText("");
  form->Command2_Click();
  EXPECT_FALSE(machine.registry.HasValue(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools"));
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
  const auto& calls = machine.memory.system().shellCalls;
  // What the build was configured to open: the shipped page in the program's folder by default.
  const std::string page = *QELMORA_WEB_SITE ? G(QELMORA_WEB_SITE) : "C:\\Program Files\\Qelmora\\" + G("说明.htm");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file, page);
  if (!WebSiteIsShippedPage()) return;  // a configured site is not looked for
  machine.files.DeleteFile(page);
  form->Command11_Click();  // without the page nothing opens, and the user is told
  EXPECT_EQ(std::to_string(calls.size()) + LastMessage(), "1" + G("找不到说明页：") + page);
}

TEST(BrowserRepairs, ReportWhatHappenedToTheUsersKeys) {
  const struct { void (Form1::*command)(); RegKey refused; int typed; bool done; } cases[] = {
      {&Form1::Command7_Click, kHkeyLocalMachine, 0, true},  // the user's title is what counts
      {&Form1::Command7_Click, kHkeyCurrentUser, 0, false},
      {&Form1::Command8_Click, 0, 0, true},  // nothing typed: nothing to clear
      {&Form1::Command8_Click, 0, 1, true},
      {&Form1::Command8_Click, 0, 2, false},  // 2: with a subkey
  };
  for (const auto& c : cases) {
    StartupMachine fresh;
    RecordingHost shown;
    Form1 window(fresh.platform, shown);
    if (c.refused) fresh.registry.DenyWrite(c.refused, kBrowserMain, true);
    if (c.typed) fresh.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/");
    if (c.typed == 2) fresh.registry.AddKey(kHkeyCurrentUser, std::string(kTypedUrls) + "\\sub");
    (window.*c.command)();
    const bool title = c.command == &Form1::Command7_Click;
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0] == G(title ? "IE标题恢复成功！" : "地址栏网址已被清除!"), c.done) << title;
    EXPECT_EQ(title ? HasValue(fresh.registry, kHkeyCurrentUser, kBrowserMain, "Window Title", kRegSz,
                               Sz("Microsoft Internet Explorer"))
                    : !fresh.registry.HasKey(kHkeyCurrentUser, kTypedUrls),
              c.done) << c.typed;
  }
}

}  // namespace
}  // namespace qel::test

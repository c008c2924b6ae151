// The main window on a memory machine: what it loads, the detail panel,
// delete, cancel and the two browser repairs.
#include <gtest/gtest.h>

#include "app/web_site.h"
#include "app/web_site_config.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

// What the build was configured to open: the shipped page in the program's folder by default.
std::string ConfiguredAddress() {
  if (QELMORA_WEB_SITE[0] != '\0') return G(QELMORA_WEB_SITE);
  return "C:\\Program Files\\Qelmora\\" + G("说明.htm");
}

TEST_F(Form1Test, LoadReadsStartPageLocksAndEntriesAndOpensTheWebSiteOnFirstRunOnly) {
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", G("http://主页/"));
  // A lock is on only when it holds one, as a DWORD or as text set by hand.
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 2);
  machine.PutString(kHkeyCurrentUser, kControlPanel, "HomePage", "1");
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  EXPECT_EQ(form->Text1.text(), G("http://主页/"));
  EXPECT_EQ(form->Checkregedit.value(), 0);
  EXPECT_EQ(form->Checkhomepage.value(), 1);
  EXPECT_EQ(RowText(0), "a|a.exe|reg|1");

  const auto& calls = machine.memory.system().shellCalls;
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file, ConfiguredAddress());
  EXPECT_EQ(calls[0].owner, RecordingHost::kHandle);
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "OpenMyHomePage",
                       kRegDword, std::string("\x01\0\0\0", 4)));
  Load();
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Form1Test, AMissingShippedPageOpensNothingAndSaysSo) {
  if (!WebSiteIsShippedPage()) GTEST_SKIP() << "this build opens a configured site";
  machine.files.DeleteFile(ConfiguredAddress());
  Load();
  EXPECT_TRUE(machine.memory.system().shellCalls.empty());
  EXPECT_EQ(LastMessage(), G("找不到说明页：") + ConfiguredAddress());
}

TEST_F(Form1Test, SelectingARowShowsItsPlaceAndEditingChangesOnlyItsCommandLine) {
  machine.PutString(kHkeyLocalMachine, kRunTwin, "off", "off.exe");
  machine.AddStartupFile("s.lnk");
  machine.profile.Put("windows", "noload", "n.exe");
  Load();
  Click(RowOf("off"));
  EXPECT_EQ(form->text2text.text(), "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-");
  EXPECT_EQ(form->Label1.text(), "off.exe");
  EXPECT_TRUE(form->Command1.enabled());
  form->Text2.SetText("off.exe /x");
  EXPECT_EQ(RowText(RowOf("off")), "off|off.exe /x|reg|0");
  EXPECT_EQ(form->List4.List(RowOf("s")), machine.StartupPath("s.lnk"));

  Click(RowOf("s"));
  EXPECT_EQ(form->text2text.text(), G("开始菜单－程序－启动(删除后不可恢复)"));
  EXPECT_FALSE(form->Text2.enabled());  // a file's path is not edited
  Click(RowOf("n.exe"));
  EXPECT_EQ(form->text2text.text(), G("Win.ini文件的noload项"));
  EXPECT_TRUE(form->Text2.enabled());

  form->List1.SetSelected(RowOf("off"), true);  // the place follows the mark
  Click(RowOf("off"));
  EXPECT_EQ(form->text2text.text(), "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

TEST_F(Form1Test, DeleteRemovesTheSelectedRowFromEveryListAndNothingWithoutOne) {
  for (const char* name : {"a", "b"}) machine.PutString(kHkeyLocalMachine, kRun, name, std::string(name) + ".exe");
  machine.PutString(kHkeyLocalMachine, kRun, "c", "c.exe", kRegExpandSz);
  Load();
  Click(1);
  form->Command1_Click();
  ASSERT_EQ(form->List1.ListCount(), 2);
  EXPECT_EQ(RowText(0) + " " + RowText(1), "a|a.exe|reg|1 c|c.exe|reg|1");
  EXPECT_EQ(form->List5.ListCount(), 2);
  EXPECT_EQ(form->List1.ListIndex(), -1);
  EXPECT_FALSE(form->Command1.enabled());
  form->Text2.SetText("typed");  // lands nowhere
  form->Command1_Click();
  EXPECT_EQ(RowText(0) + " " + RowText(1), "a|a.exe|reg|1 c|c.exe|reg|1");
  form->Command2_Click();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "c", kRegExpandSz, Sz("c.exe")))
      << "the rows after a deleted one keep their stored types";
}

TEST_F(Form1Test, ConfirmAndSaveSayWhatTheyCouldNotDo) {
  machine.PutString(kHkeyLocalMachine, kRun, G("换\r行"), "x.exe");
  machine.AddStartupFile("s.lnk");
  Load();
  form->Command3_Click();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_NE(LastMessage().find(G("换行符")), std::string::npos) << "a CR alone breaks a line too";
  EXPECT_FALSE(machine.files.Exists(std::string(mem::MemorySystem::kSystemDirectory) + "\\morvane1.txt"));

  machine.files.Lock(machine.StartupPath("s.lnk"), true);
  form->List1.SetSelected(RowOf("s"), false);
  form->Command2_Click();
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_NE(LastMessage().find(machine.StartupPath("s.lnk") + G("）：无法更改文件属性")), std::string::npos);
}

TEST_F(Form1Test, ConfirmWritesTheLastRowOfAPlaceAndKeepsTheOldCopyWhenAMoveFails) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "a", "off.exe");
  machine.PutString(kHkeyCurrentUser, kRun, "b", "b.exe");
  Load();
  machine.registry.DenyWrite(kHkeyCurrentUser, kRunTwin, true);
  form->List1.SetSelected(RowOf("a"), false);  // now both rows of "a" are for Run-
  form->List1.SetSelected(RowOf("b"), false);
  form->Command2_Click();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "a", kRegSz, Sz("off.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "b", kRegSz, Sz("b.exe")));
}

TEST_F(Form1Test, ASavedSnapshotWithoutATagForEveryRowIsNotRestored) {
  const std::string folder = std::string(mem::MemorySystem::kSystemDirectory) + "\\morvane";
  machine.files.AddFile(folder + "1.txt", "\"old\",\"True\"\r\n\"two\",\"True\"\r\n");
  machine.files.AddFile(folder + "2.txt", "old.exe\r\ntwo.exe\r\n");
  machine.files.AddFile(folder + "3.txt", "reg\r\n");
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  form->Command6_Click();
  EXPECT_EQ(LastMessage(), G("没有发现上次保存的数据！"));
  EXPECT_EQ(AllRows(), "a|a.exe|reg|1\n");
}

TEST_F(Form1Test, CancelWritesNothing) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.profile.Put("windows", "load", "l.exe");
  machine.AddStartupFile("s.lnk");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  Load();
  const std::string before = machine.Dump();
  form->List1.SetSelected(0, false);
  Click(1);
  form->Command1_Click();
  form->Checkregedit.SetValue(1);
  form->Command4_Click();
  EXPECT_EQ(host.unloaded.size(), 1u);
  EXPECT_EQ(machine.Dump(), before);
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("s.lnk")));
  EXPECT_TRUE(machine.registry.HasValue(kHkeyCurrentUser, kExplorerPolicies, "NoRun"));
}

TEST_F(Form1Test, BrowserRepairsReportWhatHappenedToTheUsersKeys) {
  const std::string titleDone = G("IE标题恢复成功！"), urlsDone = G("地址栏网址已被清除!");
  struct Case {
    const char* what;
    void (*seed)(StartupMachine&);
    void (Form1::*command)();
    bool done;
  };
  const Case cases[] = {
      {"title", [](StartupMachine&) {}, &Form1::Command7_Click, true},
      {"title, machine key refused", [](StartupMachine& m) { m.registry.DenyWrite(kHkeyLocalMachine, kBrowserMain, true); },
       &Form1::Command7_Click, true},
      {"title, user key refused", [](StartupMachine& m) { m.registry.DenyWrite(kHkeyCurrentUser, kBrowserMain, true); },
       &Form1::Command7_Click, false},
      {"typed addresses", [](StartupMachine& m) { m.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/"); },
       &Form1::Command8_Click, true},
      {"no typed addresses", [](StartupMachine&) {}, &Form1::Command8_Click, true},
      {"typed addresses with a subkey",
       [](StartupMachine& m) { m.registry.AddKey(kHkeyCurrentUser, std::string(kTypedUrls) + "\\sub"); },
       &Form1::Command8_Click, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartupMachine fresh;
    RecordingHost shown;
    Form1 window(fresh.platform, shown);
    fresh.PutString(kHkeyCurrentUser, kBrowserMain, "Window Title", "Hacked by x");
    c.seed(fresh);
    (window.*c.command)();
    ASSERT_EQ(shown.boxes.size(), 1u);
    const bool title = c.command == &Form1::Command7_Click;
    EXPECT_EQ(shown.boxes[0].text == (title ? titleDone : urlsDone), c.done) << shown.boxes[0].text;
    if (!title) {
      EXPECT_EQ(fresh.registry.HasKey(kHkeyCurrentUser, kTypedUrls), !c.done);
    } else if (c.done) {
      EXPECT_TRUE(HasValue(fresh.registry, kHkeyCurrentUser, kBrowserMain, "Window Title", kRegSz,
                           Sz("Microsoft Internet Explorer")));
    } else {
      EXPECT_NE(shown.boxes[0].text.find(G("拒绝访问")), std::string::npos);
    }
  }
  StartupMachine both;
  RecordingHost quiet;
  Form1(both.platform, quiet).Command7_Click();
  EXPECT_TRUE(HasValue(both.registry, kHkeyLocalMachine, kBrowserMain, "Window Title", kRegSz,
                       Sz("Microsoft Internet Explorer")));
}

}  // namespace
}  // namespace qel::test

// The main window on a memory machine: the load sequence, the detail panel,
// delete, the hint, cancel.
#include <gtest/gtest.h>

#include "app/web_site.h"
#include "app/web_site_config.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

TEST_F(Form1Test, LoadSetsCaptionStartPageSwitchesAndLists) {
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", G("http://主页/"));
  machine.registry.PutDword(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\System",
                            "Disableregistrytools", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kControlPanel, "HomePage", 0);
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  EXPECT_EQ(form->caption(), G("Qelmora  版本 4.2   By Tevanro"));
  EXPECT_EQ(form->systemDirectory(), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(form->Text1.text(), G("http://主页/"));
  EXPECT_EQ(form->Checkregedit.value(), 1);
  EXPECT_EQ(form->Checkhomepage.value(), 0);
  EXPECT_EQ(form->List1.ListCount(), 1);
  // The panel keeps its starting texts until a row is chosen.
  EXPECT_EQ(form->Text2.text(), "Text2");
  EXPECT_EQ(form->text2text.text(), "1");
  EXPECT_FALSE(form->Label1.visible());
  EXPECT_FALSE(form->List5.visible());
}

TEST_F(Form1Test, MissingStartPageLeavesText1Empty) {
  Load();
  EXPECT_EQ(form->Text1.text(), "");
}

// What the build was configured to open: the shipped page in the program's folder by default.
std::string ConfiguredAddress() {
  if (QELMORA_WEB_SITE[0] != '\0') return G(QELMORA_WEB_SITE);
  return "C:\\Program Files\\Qelmora\\" + G("说明.htm");
}

TEST_F(Form1Test, FirstRunOpensTheWebSiteOnceAndRecordsIt) {
  machine.registry.PutDword(kHkeyCurrentUser, kControlPanel, "OpenMyHomePage", 0);
  Load();
  ASSERT_EQ(machine.memory.system().shellCalls.size(), 1u);
  const auto& call = machine.memory.system().shellCalls[0];
  EXPECT_EQ(call.operation, "Open");
  EXPECT_EQ(call.file, ConfiguredAddress());
  EXPECT_EQ(call.parameters, "");
  EXPECT_EQ(call.directory, "C:\\Program Files\\Qelmora");
  EXPECT_EQ(call.show, 1);
  EXPECT_EQ(call.owner, RecordingHost::kHandle);
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "OpenMyHomePage", kRegDword,
                       std::string("\x01\0\0\0", 4)));
  Load();
  EXPECT_EQ(machine.memory.system().shellCalls.size(), 1u);
}

TEST_F(Form1Test, AMissingShippedPageOpensNothingAndSaysSo) {
  if (!WebSiteIsShippedPage()) GTEST_SKIP() << "this build opens a configured site";
  machine.files.DeleteFile(ConfiguredAddress());
  Load();
  EXPECT_TRUE(machine.memory.system().shellCalls.empty());
  EXPECT_EQ(LastMessage(), G("找不到说明页：") + ConfiguredAddress());
}

TEST_F(Form1Test, SelectingARowShowsItsLocationAndCommandLine) {
  machine.PutString(kHkeyLocalMachine, kRunTwin, "off", "off.exe");
  machine.AddStartupFile("s.lnk");
  machine.profile.Put("windows", "noload", "n.exe");
  Load();
  Click(RowOf("off"));
  EXPECT_EQ(form->text2text.text(), "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-");
  EXPECT_EQ(form->Text2.text(), "off.exe");
  EXPECT_EQ(form->Label1.text(), "off.exe");
  EXPECT_TRUE(form->Text2.enabled());
  EXPECT_TRUE(form->Command1.enabled());

  Click(RowOf("s"));
  EXPECT_EQ(form->text2text.text(), G("开始菜单－程序－启动(删除后不可恢复)"));
  EXPECT_FALSE(form->Text2.enabled());  // a file path is not edited

  Click(RowOf("n.exe"));
  EXPECT_EQ(form->text2text.text(), G("Win.ini文件的noload项"));
  EXPECT_TRUE(form->Text2.enabled());

  // Toggling the mark and clicking again follows the mark.
  form->List1.SetSelected(RowOf("off"), true);
  Click(RowOf("off"));
  EXPECT_EQ(form->text2text.text(), "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

TEST_F(Form1Test, AnUnknownTagLeavesTheLocationAsItWas) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  Click(0);
  form->List5.SetList(0, "hklmrunonce");  // tags are case-sensitive
  Click(0);
  EXPECT_EQ(form->text2text.text(), "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(form->Text2.text(), "a.exe");
}

TEST_F(Form1Test, EditingText2ChangesOnlyThatRowsCommandLine) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "b", "b.exe");
  Load();
  Click(1);
  form->Text2.SetText("b.exe /x");
  EXPECT_EQ(form->List4.List(1), "b.exe /x");
  EXPECT_EQ(form->List1.List(1), "b");
  EXPECT_EQ(form->List4.List(0), "a.exe");
}

TEST_F(Form1Test, DeleteRemovesTheRowFromAllThreeListsAndClearsThePanel) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "b", "b.exe");
  Load();
  Click(0);
  form->Command1_Click();
  EXPECT_EQ(RowText(0), "b|b.exe|reg|1");
  EXPECT_EQ(form->List4.ListCount(), 1);
  EXPECT_EQ(form->List5.ListCount(), 1);
  EXPECT_FALSE(form->Command1.enabled());
  EXPECT_EQ(form->Text2.text(), "");
  EXPECT_EQ(form->Label1.text(), "");
  EXPECT_TRUE(form->Text2.enabled());
  // With nothing selected, typing lands nowhere and delete does nothing.
  form->Text2.SetText("typed");
  EXPECT_EQ(form->List4.List(0), "b.exe");
  form->Command1_Click();
  EXPECT_EQ(form->List1.ListCount(), 1);

  Click(0);
  form->Command1_Click();
  EXPECT_EQ(form->List1.ListCount(), 0);
  EXPECT_EQ(form->List4.ListCount(), 0);
  EXPECT_EQ(form->List5.ListCount(), 0);
}

TEST_F(Form1Test, ClickingTheCommandLineListOnlyShowsTheHint) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  form->List4.SetListIndex(0);
  form->List4_Click();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, G("请点击左侧窗口"));
  EXPECT_EQ(host.boxes[0].title, G("提示"));
  EXPECT_EQ(host.boxes[0].flags, ui::kMbOk);
  EXPECT_EQ(RowText(0), "a|a.exe|reg|1");
}

TEST_F(Form1Test, CancelWritesNothing) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.profile.Put("windows", "load", "l.exe");
  machine.AddStartupFile("s.lnk");
  machine.registry.PutDword(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                            "NoRun", 1);
  Load();
  const std::string before = machine.Dump();
  form->List1.SetSelected(0, false);
  Click(1);
  form->Command1_Click();
  form->Checkregedit.SetValue(1);
  form->Text1.SetText("http://elsewhere/");
  form->Command4_Click();
  ASSERT_EQ(host.unloaded.size(), 1u);
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(machine.Dump(), before);
  EXPECT_EQ(machine.files.Attributes(machine.StartupPath("s.lnk")) & kAttrHidden, 0u);
}

TEST_F(Form1Test, TabOrderRunsFromConfirmToTheWebSiteButton) {
  Load();
  std::vector<std::pair<int, std::string>> stops;
  for (ui::Control* c : form->controls())
    if (c->tabIndex >= 0) stops.push_back({c->tabIndex, c->name()});
  std::sort(stops.begin(), stops.end());
  std::string order;
  for (auto& stop : stops) order += stop.second + " ";
  EXPECT_EQ(order,
            "Command2 List1 List4 Command5 Command4 Checkhomepage Command6 Text1 Command3 Checkregedit "
            "Command7 Command8 Text2 Command1 Command9 Command10 Command11 ");
  EXPECT_EQ(form->Find("Text1")->container(), &form->Frame5);
  EXPECT_EQ(form->Frame5.container(), &form->Frame3);
}

}  // namespace
}  // namespace qel::test

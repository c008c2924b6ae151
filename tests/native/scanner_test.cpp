// What the scan lists, in what order, with which marks and tags.
#include <gtest/gtest.h>

#include "startup/scanner.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

using ScannerTest = Form1Test;

TEST_F(ScannerTest, ListsEverySourceInCatalogueOrderWithTwinsUnchecked) {
  machine.PutString(kHkeyCurrentUser, kRun, "cu", "cu.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunServices + std::string("-"), "svc", "svc.exe");
  machine.PutString(kHkeyLocalMachine, kRunOnceEx, "ex", "ex.exe");
  machine.AddStartupFile("tool.exe.lnk", kAttrHidden);
  machine.profile.Put("windows", "norun", "c.exe");
  machine.profile.Put("windows", "load", "a.exe b.exe");
  Load();
  ASSERT_EQ(form->List1.ListCount(), 8);
  EXPECT_EQ(RowText(0), "Foo|on.exe|reg|1");
  EXPECT_EQ(RowText(1), "Foo|off.exe|reg|0");
  EXPECT_EQ(RowText(2), "svc|svc.exe|regs|0");
  EXPECT_EQ(RowText(3), "cu|cu.exe|reg2|1");
  EXPECT_EQ(RowText(4), "ex|ex.exe|HKLMRunOnceEx|1");
  EXPECT_EQ(RowText(5), "tool.exe|" + machine.StartupPath("tool.exe.lnk") + "|startup|0");
  EXPECT_EQ(RowText(6), "a.exe b.exe|a.exe b.exe|load|1");
  EXPECT_EQ(RowText(7), "c.exe|c.exe|run|0");
  EXPECT_EQ(form->List4.ListCount(), 8);
  EXPECT_EQ(form->List5.ListCount(), 8);
}

TEST_F(ScannerTest, WinIniRunAndNorunGiveRunRows) {
  machine.profile.Put("windows", "norun", "c.exe");
  machine.profile.Put("windows", "run", "   ");  // blank: no row
  machine.profile.Put("windows", "noload", std::string(400, 'z'));
  Load();
  ASSERT_EQ(form->List1.ListCount(), 2);
  EXPECT_EQ(RowText(0), std::string(400, 'z') + "|" + std::string(400, 'z') + "|load|0");  // whole
  EXPECT_EQ(RowText(1), "c.exe|c.exe|run|0");
}

TEST_F(ScannerTest, IntegersAreListedAsDecimalTextAndTheDefaultValueByItsEmptyName) {
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnceEx, "Flags", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnceEx, "Neg", 0xFFFFFFFFu);
  machine.PutString(kHkeyCurrentUser, kRunOnce, "", "default.exe");
  Load();
  ASSERT_EQ(form->List1.ListCount(), 3);
  EXPECT_EQ(RowText(0), "|default.exe|HKCUrunonce|1");
  EXPECT_EQ(RowText(1), "Flags|1|HKCURunOnceEx|1");
  EXPECT_EQ(RowText(2), "Neg|-1|HKCURunOnceEx|1");
}

TEST_F(ScannerTest, ALongValueHidesNeitherItselfNorTheValuesAfterIt) {
  machine.PutString(kHkeyLocalMachine, kRun, "one", "1.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "two", "2.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "trojan", "c:\\" + std::string(300, 'x') + ".exe");
  machine.PutString(kHkeyLocalMachine, kRun, std::string(300, 'N'), "long-name.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "after", "after.exe");
  Load();
  EXPECT_EQ(form->List1.ListCount(), 5);
  EXPECT_EQ(form->List4.List(RowOf("trojan")), "c:\\" + std::string(300, 'x') + ".exe");
  EXPECT_GE(RowOf("after"), 0);
}

TEST_F(ScannerTest, ValuesThatCannotBeShownAsTextAreNotListed) {
  machine.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyLocalMachine, kRun, "blob", kRegBinary, "12345");
  machine.registry.Put(kHkeyLocalMachine, kRun, "qword", kRegQword, "12345678");
  machine.registry.Put(kHkeyLocalMachine, kRun, "none", kRegNone, "");
  machine.registry.Put(kHkeyLocalMachine, kRun, "small", kRegBinary, "\x05");
  Load();
  ASSERT_EQ(form->List1.ListCount(), 1);
  EXPECT_EQ(RowText(0), "small|5|reg|1");
}

TEST_F(ScannerTest, StartupFolderListsPlainAndHiddenFilesOnly) {
  machine.AddStartupFile("plain.lnk");
  machine.AddStartupFile("readonly.lnk", kAttrReadOnly);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  machine.files.AddFolder(machine.StartupPath("sub"));
  machine.AddStartupFile(G("输入法.lnk"), kAttrHidden);
  Load();
  ASSERT_EQ(form->List1.ListCount(), 3);
  EXPECT_TRUE(form->List1.Selected(RowOf("plain")));
  EXPECT_TRUE(form->List1.Selected(RowOf("readonly")));
  EXPECT_FALSE(form->List1.Selected(RowOf(G("输入法"))));
}

TEST_F(ScannerTest, AnUnreadableOrEmptyStartupPathListsNothingRatherThanADriveRoot) {
  machine.files.AddFile("C:\\autoexec.bat", "rem");
  machine.registry.PutString(kHkeyCurrentUser, kShellFolders, "Startup", "");
  Load();
  EXPECT_EQ(form->List1.ListCount(), 0);
  machine.registry.RemoveKey(kHkeyCurrentUser, kShellFolders);
  Load();
  EXPECT_EQ(form->List1.ListCount(), 0);
}

TEST_F(ScannerTest, AKeyThatCannotBeOpenedIsPassedOver) {
  machine.PutString(kHkeyLocalMachine, kRun, "hidden", "x.exe");
  machine.registry.DenyAccess(kHkeyLocalMachine, kRun, true);
  machine.PutString(kHkeyCurrentUser, kRun, "seen", "y.exe");
  Load();
  ASSERT_EQ(form->List1.ListCount(), 1);
  EXPECT_EQ(form->List1.List(0), "seen");
}

TEST_F(ScannerTest, EmptyMachineGivesEmptyLists) {
  Load();
  EXPECT_EQ(form->List1.ListCount(), 0);
  EXPECT_EQ(form->List4.ListCount(), 0);
  EXPECT_EQ(form->List5.ListCount(), 0);
}

TEST(StripExtension, CutsAtTheLastDotOnly) {
  EXPECT_EQ(StripExtension("a.b.lnk"), "a.b");
  EXPECT_EQ(StripExtension(".lnk"), "");
  EXPECT_EQ(StripExtension("noext"), "noext");
  EXPECT_EQ(StripExtension("trailing."), "trailing");
}

}  // namespace
}  // namespace qel::test

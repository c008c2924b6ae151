// What the scan lists, in what order, with which marks and tags.
#include <gtest/gtest.h>

#include "startup/scanner.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

using ScannerTest = Form1Test;

TEST_F(ScannerTest, ListsEverySourceInCatalogueOrderWithTwinsUncheckedAndEveryValueThatReadsAsText) {
  machine.PutString(kHkeyCurrentUser, kRun, "cu", "cu.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "trojan", std::string(300, 'x'));  // whatever its length
  machine.PutString(kHkeyLocalMachine, kRun, std::string(300, 'N'), "long-name.exe");
  machine.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyLocalMachine, kRun, "blob", kRegBinary, "12345");
  machine.registry.Put(kHkeyLocalMachine, kRun, "qword", kRegQword, "12345678");
  machine.registry.Put(kHkeyLocalMachine, kRun, "small", kRegBinary, "\x05");
  machine.PutString(kHkeyLocalMachine, kRunServicesTwin, "svc", "svc.exe");
  machine.PutString(kHkeyCurrentUser, kRunOnce, "", "default.exe");
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnceEx, "Neg", 0xFFFFFFFFu);
  machine.PutString(kHkeyLocalMachine, kRunOnce, "denied", "x.exe");
  machine.registry.DenyAccess(kHkeyLocalMachine, kRunOnce, true);
  machine.AddStartupFile("tool.exe.lnk", kAttrHidden);
  machine.profile.Put("windows", "norun", "c.exe");
  machine.profile.Put("windows", "run", "   ");  // blank: no row
  machine.profile.Put("windows", "load", std::string(400, 'z'));
  machine.profile.Put("windows", "noload", "(error)");  // any text is content
  Load();
  EXPECT_EQ(AllRows(), "Foo|on.exe|reg|1\ntrojan|" + std::string(300, 'x') + "|reg|1\n" + std::string(300, 'N') +
                       "|long-name.exe|reg|1\nsmall|5|reg|1\nFoo|off.exe|reg|0\nsvc|svc.exe|regs|0\ncu|cu.exe|reg2|1\n|default.exe|HKCUrunonce|1\n"
                       "Neg|-1|HKCURunOnceEx|1\ntool.exe|" + machine.StartupPath("tool.exe.lnk") + "|startup|0\n" +
                       std::string(400, 'z') + "|" + std::string(400, 'z') + "|load|1\n(error)|(error)|load|0\nc.exe|c.exe|run|0\n");
}

TEST_F(ScannerTest, StartupFolderListsPlainAndHiddenFilesOnlyAndNeverADriveRoot) {
  machine.AddStartupFile("readonly.lnk", kAttrReadOnly);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  machine.files.AddFolder(machine.StartupPath("sub"));
  machine.AddStartupFile(G("输入法.lnk"), kAttrHidden);
  machine.files.AddFile("C:\\autoexec.bat", "rem");
  Load();
  EXPECT_EQ(AllRows(), "readonly|" + machine.StartupPath("readonly.lnk") + "|startup|1\n" + G("输入法") + "|" +
                           machine.StartupPath(G("输入法.lnk")) + "|startup|0\n");
  machine.registry.PutString(kHkeyCurrentUser, kShellFolders, "Startup", "");
  Load();
  EXPECT_EQ(AllRows(), "");
}

}  // namespace
}  // namespace qel::test

// Saving the lists to the three snapshot files and restoring them.
#include "startup/snapshot.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

constexpr char kNamesFile[] = "C:\\WINDOWS\\SYSTEM\\morvane1.txt";
constexpr char kCommandsFile[] = "C:\\WINDOWS\\SYSTEM\\morvane2.txt";
constexpr char kTagsFile[] = "C:\\WINDOWS\\SYSTEM\\morvane3.txt";

using SnapshotTest = Form1Test;

TEST_F(SnapshotTest, SaveWritesGbkWithCrLfAndRestoreGivesBackTheSameListsAndTypes) {
  machine.registry.PutString(kHkeyLocalMachine, kRun, G("输入法,中文"), "c:\\ime.exe /a,\"b\"");
  machine.registry.PutString(kHkeyLocalMachine, kRunTwin, "say \"hi\"", "off.exe");
  machine.registry.PutString(kHkeyCurrentUser, kRunOnce, "", "");
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnceEx, "A", 1);
  machine.registry.PutString(kHkeyCurrentUser, std::string(kRunOnceEx) + "-", "A", "1");
  machine.registry.PutString(kHkeyCurrentUser, kRunOnceEx, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.AddStartupFile("s.lnk", kAttrHidden);
  machine.profile.Put("windows", "load", "  padded.exe  ");
  Load();
  form->Command3_Click();
  EXPECT_EQ(LastMessage(), G("已经把自启动项保存到文件！按【恢复上次的保存】按钮即可恢复"));
  EXPECT_EQ(File(kNamesFile).find("\"" + G("输入法,中文") + "\",\"True\"\r\n\"say \"\"hi\"\"\",\"False\"\r\n"), 0u);
  EXPECT_EQ(File(kCommandsFile).find("c:\\ime.exe /a,\"b\"\r\noff.exe\r\n\r\n"), 0u);
  const std::string saved = AllRows();
  Click(RowOf("A"));  // a row deleted and restored takes back the type at its own place
  form->Command1_Click();
  form->List1.SetSelected(0, false);
  Click(0);
  form->Command6_Click();
  EXPECT_EQ(AllRows() + form->Label1.text() + "01"[form->Command1.enabled()], saved + "0");
  form->Command2_Click();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRunOnceEx, "exp", kRegExpandSz, Sz("%windir%\\a.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRunOnceEx, "A", kRegDword, std::string("\1\0\0\0", 4)));
}

TEST_F(SnapshotTest, RestoreTakesMarksAsTruthWordsOrNumbersAndABrokenSnapshotChangesNothing) {
  const std::string tooMany(10 << 20, '\n');  // 10 MB of empty lines: refused before any is built
  const std::string refused = "kept|kept.exe|reg|1\n" + G("没有发现上次保存的数据！") + "kept.exe";
  const struct { const char* why; std::string names, commands, tags, after; } cases[] = {
      {"truth words or numbers, any line break", "\"a\",\"TRUE\"\r\n\"b\",false\r\n\"c\",0\n\"d\",-1\r  e  , 2.5 \r\n",
       "a.exe\r\nb.exe\rc.exe\nd.exe\r\ne.exe\r\n", "reg\r\nreg\r\n\"reg2\"\r\nrun\r\nload\r\n",
       "a|a.exe|reg|1\nb|b.exe|reg|0\nc|c.exe|reg2|0\nd|d.exe|run|1\ne|e.exe|load|1\n" + G("把自动启动项恢复到上次保存的状态！核对正确按【确认】")},
      {"a mark that is no truth word", "\"a\",\"Yes\"\r\n", "a.exe\r\n", "reg\r\n", refused},
      {"command lines short", "\"a\",\"True\"\r\n\"b\",\"True\"\r\n", "a.exe\r\n", "reg\r\nreg\r\n", refused},
      {"tags long", "\"a\",\"True\"\r\n", "a.exe\r\n", "reg\r\nreg\r\n", refused},
      {"a missing mark", "\"a\"\r\n", "a.exe\r\n", "reg\r\n", refused},
      {"more rows than a list holds", tooMany, tooMany, tooMany, refused},
  };
  machine.registry.PutString(kHkeyLocalMachine, kRun, "kept", "kept.exe");
  for (const auto& c : cases) {
    machine.files.AddFile(kNamesFile, c.names);
    machine.files.AddFile(kCommandsFile, c.commands);
    machine.files.AddFile(kTagsFile, c.tags);
    Load();
    Click(0);
    form->Command6_Click();
    EXPECT_EQ(AllRows() + LastMessage() + form->Label1.text(), c.after) << c.why;
  }
}

TEST_F(SnapshotTest, ASaveThatCannotBeWholeWritesNothingAndNeverClaimsSuccess) {
  machine.files.AddFile(kCommandsFile, "old.exe\r\n");
  machine.files.AddFile(kTagsFile, "reg\r\n");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "evil", "a.exe\rb.exe");
  Load();
  form->Command3_Click();
  EXPECT_NE(LastMessage().find("evil"), std::string::npos);  // a lone CR: refused, named
  Click(0);
  form->Text2.SetText("fine.exe");
  machine.files.Lock(kTagsFile, true);  // the names file is missing before the save, and after it
  form->Command3_Click();
  machine.files.Lock(kTagsFile, false);
  EXPECT_NE(LastMessage().find(kTagsFile), std::string::npos);
  machine.files.SetDiskFull(true);  // each write stores half its bytes, then fails
  form->Command3_Click();
  EXPECT_NE(LastMessage().find(G("磁盘空间不足")), std::string::npos);
  EXPECT_EQ(std::to_string(machine.files.Exists(kNamesFile)) + File(kCommandsFile), "0old.exe\r\n");
  for (const auto& box : host.boxes) EXPECT_EQ(box.find(G("已经把自启动项保存到文件")), std::string::npos);
  SnapshotFiles bytes;  // more rows than a restore takes back
  int offending = -1;
  EXPECT_FALSE(FormatSnapshot(std::vector<StartupEntry>(kMaxSnapshotRows + 1, {"n", true, "c", "reg"}), &bytes, &offending));
  machine.registry.DeleteKey(kHkeyLocalMachine, kRun);
  machine.registry.PutString(kHkeyCurrentUser, kRun, "two\nlines", "b.exe");  // a name no line can hold
  Load();
  form->Command3_Click();
  EXPECT_NE(LastMessage().find("two\nlines"), std::string::npos);
  EXPECT_FALSE(machine.files.Exists(kNamesFile));
}

}  // namespace
}  // namespace qel::test

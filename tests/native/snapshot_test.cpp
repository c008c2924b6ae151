// Saving the lists to the three snapshot files and restoring them.
#include <gtest/gtest.h>

#include "startup/snapshot.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

constexpr char kNamesFile[] = "C:\\WINDOWS\\SYSTEM\\morvane1.txt";
constexpr char kCommandsFile[] = "C:\\WINDOWS\\SYSTEM\\morvane2.txt";
constexpr char kTagsFile[] = "C:\\WINDOWS\\SYSTEM\\morvane3.txt";

class SnapshotTest : public Form1Test {
 protected:
  std::string File(const char* path) {
    std::string bytes;
    EXPECT_TRUE(machine.files.FileBytes(path, &bytes)) << path;
    return bytes;
  }
  void WriteSnapshot(const std::string& names, const std::string& commands, const std::string& tags) {
    machine.files.AddFile(kNamesFile, names);
    machine.files.AddFile(kCommandsFile, commands);
    machine.files.AddFile(kTagsFile, tags);
  }
  std::string AllRows() {
    std::string out;
    for (int i = 0; i < form->List1.ListCount(); ++i) out += RowText(i) + "\n";
    return out;
  }
};

TEST_F(SnapshotTest, SaveWritesTheKnownFormatInGbkWithCrLfOnEveryLine) {
  machine.PutString(kHkeyLocalMachine, kRun, G("输入法,中文"), "c:\\ime.exe /a,\"b\"");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "off", "off.exe");
  Load();
  form->Command3_Click();
  EXPECT_EQ(File(kNamesFile), "\"" + G("输入法,中文") + "\",\"True\"\r\n\"off\",\"False\"\r\n");
  EXPECT_EQ(File(kCommandsFile), "c:\\ime.exe /a,\"b\"\r\noff.exe\r\n");
  EXPECT_EQ(File(kTagsFile), "reg\r\nreg\r\n");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, G("已经把自启动项保存到文件！按【恢复上次的保存】按钮即可恢复"));
  EXPECT_EQ(host.boxes[0].title, "Qelmora");
}

TEST_F(SnapshotTest, SaveThenRestoreGivesBackTheSameLists) {
  machine.PutString(kHkeyLocalMachine, kRun, "a,b", "x \"quoted\", y");
  machine.PutString(kHkeyCurrentUser, kRun, "say \"hi\"", "hi.exe");
  machine.PutString(kHkeyCurrentUser, kRunOnce, "", "");
  machine.AddStartupFile("s.lnk", kAttrHidden);
  machine.profile.Put("windows", "load", "  padded.exe  ");
  Load();
  form->List1.SetSelected(0, false);
  const std::string saved = AllRows();
  form->Command3_Click();
  Click(0);
  form->Command1_Click();
  form->List1.SetSelected(0, true);
  form->Command6_Click();
  EXPECT_EQ(AllRows(), saved);
  EXPECT_FALSE(form->Command1.enabled());
  EXPECT_EQ(form->Label1.text(), "");
  EXPECT_EQ(LastMessage(), G("把自动启动项恢复到上次保存的状态！核对正确按【确认】"));
}

TEST_F(SnapshotTest, EmptyListsSaveEmptyFilesAndRestoreToEmptyLists) {
  Load();
  form->Command3_Click();
  EXPECT_EQ(File(kNamesFile), "");
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  form->Command6_Click();
  EXPECT_EQ(form->List1.ListCount(), 0);
  EXPECT_EQ(form->List5.ListCount(), 0);
  EXPECT_EQ(LastMessage(), G("把自动启动项恢复到上次保存的状态！核对正确按【确认】"));
}

TEST_F(SnapshotTest, RestoreReadsMarksAsTruthWordsOrNumbers) {
  WriteSnapshot("\"a\",\"TRUE\"\r\n\"b\",false\r\n\"c\",0\r\n\"d\",-1\r\n  e  , 2.5 \r\n",
                "a.exe\r\nb.exe\r\nc.exe\r\nd.exe\r\ne.exe\r\n", "reg\r\nreg\r\n\"reg2\"\r\nrun\r\nload\r\n");
  Load();
  form->Command6_Click();
  EXPECT_EQ(AllRows(), "a|a.exe|reg|1\nb|b.exe|reg|0\nc|c.exe|reg2|0\nd|d.exe|run|1\ne|e.exe|load|1\n");
}

TEST_F(SnapshotTest, ABrokenSnapshotChangesNothingAndSaysSo) {
  const std::string none = G("没有发现上次保存的数据！");
  struct Case {
    const char* why;
    std::string names, commands, tags;
  } cases[] = {
      {"a mark that is no truth word", "\"a\",\"Yes\"\r\n", "a.exe\r\n", "reg\r\n"},
      {"line counts differ", "\"a\",\"True\"\r\n\"b\",\"True\"\r\n", "a.exe\r\n", "reg\r\nreg\r\n"},
      {"a missing mark", "\"a\"\r\n", "a.exe\r\n", "reg\r\n"},
  };
  machine.PutString(kHkeyLocalMachine, kRun, "kept", "kept.exe");
  for (const Case& c : cases) {
    WriteSnapshot(c.names, c.commands, c.tags);
    Load();
    Click(0);
    form->Command6_Click();
    EXPECT_EQ(AllRows(), "kept|kept.exe|reg|1\n") << c.why;
    EXPECT_EQ(LastMessage(), none) << c.why;
    EXPECT_TRUE(form->Command1.enabled()) << c.why;
    EXPECT_EQ(form->Label1.text(), "kept.exe") << c.why;
  }
  // Before the first save there is nothing to restore; a lone missing file
  // (the others present) is the same.
  machine.files.RemoveFile(kCommandsFile);
  Load();
  form->Command6_Click();
  EXPECT_EQ(AllRows(), "kept|kept.exe|reg|1\n");
  EXPECT_EQ(LastMessage(), none);
}

TEST_F(SnapshotTest, TooManyRowsAreRefused) {
  std::string names, commands, tags;
  for (int i = 0; i <= kMaxSnapshotRows; ++i) {
    names += "\"n\",\"True\"\r\n";
    commands += "c\r\n";
    tags += "reg\r\n";
  }
  WriteSnapshot(names, commands, tags);
  Load();
  form->Command6_Click();
  EXPECT_EQ(LastMessage(), G("没有发现上次保存的数据！"));
}

TEST_F(SnapshotTest, ALineBreakInACommandLineRefusesTheSaveAndNamesTheEntry) {
  machine.PutString(kHkeyLocalMachine, kRun, "ok", "ok.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "evil", "a.exe\r\nb.exe");
  WriteSnapshot("\"old\",\"True\"\r\n", "old.exe\r\n", "reg\r\n");
  Load();
  form->Command3_Click();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_NE(host.boxes[0].text.find("evil"), std::string::npos);
  EXPECT_EQ(host.boxes[0].text.find(G("已经把自启动项保存到文件")), std::string::npos);
  EXPECT_EQ(File(kNamesFile), "\"old\",\"True\"\r\n");  // the old snapshot stands
}

TEST_F(SnapshotTest, AFailedSaveNamesTheFailureAndNeverClaimsSuccess) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  Load();
  machine.files.SetReadOnlyFolder("C:\\WINDOWS\\SYSTEM", true);
  form->Command3_Click();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_NE(host.boxes[0].text.find(kNamesFile), std::string::npos);
  EXPECT_NE(host.boxes[0].text.find(G("拒绝访问")), std::string::npos);

  machine.files.SetReadOnlyFolder("C:\\WINDOWS\\SYSTEM", false);
  machine.files.SetDiskFull(true);
  form->Command3_Click();
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_NE(host.boxes[1].text.find(G("磁盘空间不足")), std::string::npos);
  EXPECT_EQ(form->List1.ListCount(), 1);
}

TEST_F(SnapshotTest, AFailureOnTheLastFileLeavesTheEarlierSnapshotWhole) {
  WriteSnapshot("\"old\",\"True\"\r\n", "old.exe\r\n", "reg\r\n");
  machine.PutString(kHkeyLocalMachine, kRun, "new", "new.exe");
  Load();
  machine.files.Lock(kTagsFile, true);
  form->Command3_Click();
  machine.files.Lock(kTagsFile, false);
  EXPECT_EQ(File(kNamesFile), "\"old\",\"True\"\r\n");
  EXPECT_EQ(File(kCommandsFile), "old.exe\r\n");
  EXPECT_NE(LastMessage().find(kTagsFile), std::string::npos);
  form->Command6_Click();
  EXPECT_EQ(AllRows(), "old|old.exe|reg|1\n");
}

TEST_F(SnapshotTest, MoreRowsThanARestoreTakesBackAreNotSaved) {
  for (int i = 0; i <= kMaxSnapshotRows; ++i)
    machine.PutString(kHkeyCurrentUser, kRun, "n" + std::to_string(i), "c.exe");
  Load();
  form->Command3_Click();
  EXPECT_FALSE(machine.files.Exists(kNamesFile));
  EXPECT_EQ(LastMessage().find(G("已经把自启动项保存到文件")), std::string::npos);
}

TEST_F(SnapshotTest, ARestoredRowKeepsTheTypeOfTheScannedValueItMatches) {
  machine.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 32);
  Load();
  form->Command3_Click();
  Click(0);
  form->Command1_Click();
  form->Command6_Click();
  form->Command2_Click();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "exp", kRegExpandSz, Sz("%windir%\\a.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Flags", kRegDword,
                       std::string("\x20\0\0\0", 4)));
}

TEST(SnapshotFormat, OldFilesWithoutQuotesInNamesReadAsBefore) {
  std::vector<StartupEntry> rows;
  ASSERT_TRUE(ParseSnapshot({"\"a, b\",\"False\"\r\n", "cmd\r\n", "reg\r\n"}, &rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "a, b");
  EXPECT_FALSE(rows[0].enabled);
  // Files whose lines end in LF alone still pair up.
  ASSERT_TRUE(ParseSnapshot({"\"a\",\"True\"\n\"b\",\"True\"\n", "x\ny\n", "reg\nreg\n"}, &rows));
  EXPECT_EQ(rows[1].commandLine, "y");
}

}  // namespace
}  // namespace qel::test

// The process monitor on a memory machine: the fill and its comparisons, the
// trust round trip, notes, termination, and file faults.
#include <tuple>

#include "platform/ansi_text.h"
#include "process/form5.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

constexpr char kSaved[] = "C:\\WINDOWS\\SYSTEM\\morvane5.txt";
constexpr char kTrusted[] = "C:\\WINDOWS\\SYSTEM\\morvane4.txt";
constexpr char kNotes[] = "C:\\Program Files\\Qelmora\\process.dll";
const std::string kAll = "a.exe|b.exe|c.exe|a.exe|\xB0\x41x.exe|";

std::string Rows(const ui::ListBox& list) {
  std::string out;
  for (const std::string& row : list.rows()) out += row + "|";
  return out;
}

class Form5Test : public MachineTest {
 protected:
  std::unique_ptr<Form5> form;

  // Two copies of one program, an upper-case name, a GBK name whose second byte is 'A'.
  void Open() {
    machine.files.AddFile(kNotes, "b.exe  \r\nB note\r\n  \r\nc.exe\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n\r\nb.exe\r\nx\r\n");
    machine.memory.processes.table = {{8, "A.EXE"}, {12, "b.exe"}, {16, "c.exe"}, {20, "a.exe"}, {24, "\xB0\x41X.EXE"}};
    form = std::make_unique<Form5>(machine.platform, host, "C:\\WINDOWS\\SYSTEM");
    host.ShowModal(*form);
  }
  template <class List>
  void Pick(List& list, int row, void (Form5::*handler)()) {
    list.SetListIndex(row);
    (form.get()->*handler)();
  }
};

TEST_F(Form5Test, TheFillComparesCurrentNamesWithTheSavedAndTrustedLists) {
  struct Case { const char *saved, *trusted; std::string list3, list4; } cases[] = {
      {nullptr, nullptr, G("没有进行过【保存当前进程】的操作,所以无法比较！") + "|", kAll},
      {"a.exe  \r\nB.EXE\r\n  c.exe\r\n\xB0\x41x.exe\r\n", "a.exe \r\nb.exe\r\nC.EXE\r\n", "b.exe|c.exe|", "c.exe|\xB0\x41x.exe|"},
      {"a.exe\nb.exe\rc.exe\r\n\xB0\x41x.exe", "x\r\n", G("和上次保存进程时相比，没有新增加的进程") + "|", kAll},
  };
  for (const Case& c : cases) {
    if (c.saved) machine.files.AddFile(kSaved, c.saved);
    if (c.trusted) machine.files.AddFile(kTrusted, c.trusted);
    Open();
    EXPECT_EQ(kAll + c.list3 + c.list4, Rows(form->List1) + Rows(form->List3) + Rows(form->List4)) << c.saved;
  }
}

TEST_F(Form5Test, TrustIsWrittenAtRefreshSaveAndCloseAndCoversEveryCopy) {
  machine.files.AddFile(kTrusted, "", kAttrHidden);  // Windows refuses a plain rewrite of it
  machine.files.SetNoMoveFileEx(true);  // Windows 98: the old file steps aside for the new
  Open();
  Pick(form->List4, 0, &Form5::List4_DblClick);  // one of the two a.exe rows
  Pick(form->List4, 0, &Form5::List4_DblClick);  // b.exe
  Pick(form->List5, 1, &Form5::List5_DblClick);  // b.exe back, at the end
  form->cmdRefresh_Click();
  EXPECT_EQ("a.exe\r\n", File(kTrusted));
  EXPECT_EQ("b.exe|c.exe|\xB0\x41x.exe|", Rows(form->List4));
  form->Command1_Click();
  EXPECT_EQ("a.exe\r\nb.exe\r\nc.exe\r\na.exe\r\n\xB0\x41x.exe\r\n", File(kSaved));
  form->Command3_Click();  // the saved list and the trusted one in place of their differences
  form->Command4_Click();
  EXPECT_TRUE(form->List2.visible() && !form->List3.visible() && form->List5.visible() && !form->List4.visible());
  Pick(form->List4, 0, &Form5::List4_DblClick);
  host.Unload(*form);
  EXPECT_EQ("a.exe\r\nb.exe\r\n", File(kTrusted));
  EXPECT_EQ(kAttrHidden, machine.files.Attributes(kTrusted) & kAttrHidden);
}

TEST_F(Form5Test, TerminationRemovesTheRowOnlyWhenTheProcessEnded) {
  struct Case { int answer; Status failure; std::uint32_t self; int rows; const char* told; } cases[] = {
      {ui::kIdNo, kOk, 4, 5, "真的终止b.exe 进程吗?"},
      {ui::kIdYes, kOk, 4, 4, "真的终止b.exe 进程吗?"},
      {ui::kIdYes, kAccessDenied, 4, 5, "无法终止进程 b.exe\r\n拒绝访问（错误 5）"},
      {ui::kIdYes, kOk, 12, 5, "不能终止本程序自己的进程 b.exe"},
  };
  for (const Case& c : cases) {
    std::tie(machine.memory.processes.terminateFailure, machine.memory.processes.selfId) = std::tie(c.failure, c.self);
    Open();
    Pick(form->lvwPrss, 1, &Form5::lvwPrss_Click);
    host.answer = c.answer;
    form->cmdDelete_Click();
    EXPECT_EQ(std::to_string(form->lvwPrss.ListCount()) + std::to_string(form->lvwPrss.ListIndex() + 1) + LastMessage(),
              std::to_string(c.rows) + (c.rows == 5 ? "2" : "0") + G(c.told));
  }
}

TEST_F(Form5Test, FileFailuresAreToldAndNeverCostTheTrustedList) {
  machine.files.AddFile(kTrusted, "b.exe\r\n");
  machine.files.Lock(kTrusted, true);
  Open();
  machine.files.Lock(kNotes, true);  // the notes read at the first fill stay
  form->cmdRefresh_Click();
  for (auto [process, list7] : {std::pair<int, std::string>{1, "b.exe  |B note|  |"}, {2, "c.exe|1|2|3|4|5|6|7|8|9|"}}) {
    Pick(form->lvwPrss, process, &Form5::lvwPrss_Click);  // the first block of a name, at most ten rows
    EXPECT_EQ(list7, Rows(form->List7));
  }
  Pick(form->List4, 0, &Form5::List4_DblClick);  // a trust change that cannot be kept: told once
  Pick(form->List5, 0, &Form5::List5_DblClick);
  ASSERT_EQ(2u, host.boxes.size());  // the read failure, told once
  EXPECT_NE(std::string::npos, host.boxes[0].find(kTrusted));
  EXPECT_NE(std::string::npos, host.boxes[1].find(kTrusted));
  machine.files.SetDiskFull(true);
  form->Command1_Click();
  EXPECT_EQ(G("保存失败，无法写入文件 ") + kSaved + G("\r\n磁盘空间不足（错误 112）"), LastMessage());
  machine.files.SetDiskFull(false);
  machine.files.Lock(kTrusted, false);
  host.Unload(*form);
  EXPECT_EQ("b.exe\r\n", File(kTrusted));
}

// A planted file of bare line breaks gives no more rows than a list holds, told once per
// file and opening; a trusted list that was cut is never written back.
TEST_F(Form5Test, PlantedFilesAreCutAtTheRowsOfAListAndACutTrustedListIsKept) {
  const std::string breaks(40000, '\n'), trusted = "b.exe\r\n" + breaks;
  machine.files.AddFile(kSaved, breaks);
  machine.files.AddFile(kTrusted, trusted);
  Open();
  machine.files.AddFile(kNotes, breaks);
  form->cmdRefresh_Click();
  form->cmdRefresh_Click();
  Pick(form->List4, 0, &Form5::List4_DblClick);
  Pick(form->List4, 0, &Form5::List4_DblClick);
  host.Unload(*form);
  EXPECT_EQ(std::to_string(form->List2.ListCount()) + std::to_string(form->List5.ListCount()) +
                std::to_string(form->List6.ListCount()), "327673276932767");
  // Not EXPECT_EQ: its line diff of two 40,000-line texts would take gigabytes.
  EXPECT_TRUE(trusted == File(kTrusted)) << "the cut trusted list was written back";
  std::vector<std::string> told;
  for (const char* file : {kSaved, kTrusted, kNotes})
    told.push_back(G("文件 ") + file + G(" 超过32767行，只读入了前32767行。"));
  told.push_back(G("信任列表文件 ") + kTrusted +
                 G(" 没有完整读入，为免丢失其内容，不会改写它：这次信任或移除的进程不会保存。"));
  EXPECT_EQ(told, host.boxes);
}

TEST(AnsiText, DoubleByteCharactersStayWholeAndGbkCapitalsLower) {
  EXPECT_EQ("C:\\\x81\x5C", FolderOf("C:\\\x81\x5C\\q.exe", 936));
  EXPECT_EQ("C:", FolderOf("C:\\\x81\x5Cq.exe", 936));  // the last '\\' is a trail byte
  struct Case { const char *in, *out; std::uint32_t codePage; } cases[] = {
      {"\xB2\xE2\xCA\xD4\xA3\xC1\xA3\xDA.EXE", "\xB2\xE2\xCA\xD4\xA3\xE1\xA3\xFA.exe", 936},  // 测试ＡＺ
      {"\xA3\xC0\xA3\xDB\xA6\xA1\xA6\xB8\xA6\xB9", "\xA3\xC0\xA3\xDB\xA6\xC1\xA6\xD8\xA6\xB9", 936},  // ＠［ΑΩ
      {"\xA7\xA1\xA7\xA7\xA7\xC1\xA7\xC2\xB0\x41X", "\xA7\xD1\xA7\xD7\xA7\xF1\xA7\xC2\xB0\x41x", 936},  // АЁЯ
      {"\xA3\xC1Z", "\xA3\xC1z", 1252},  // single bytes elsewhere
      {"Q\xA3", "q\xA3", 936},  // a lead byte cut off at the end
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, LowerAnsi(c.in, c.codePage)) << c.in;
}

}  // namespace
}  // namespace qel::test

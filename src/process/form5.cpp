// Form5's event handlers: the fill, the two comparisons, notes, termination.
#include "process/form5.h"

#include <unordered_set>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/kept_file.h"
#include "platform/status_text.h"

namespace qel {
namespace {

constexpr int kNoteRows = 10;
// A list box numbers its rows with 16-bit indexes: a planted file of bare line
// breaks must not become millions of rows.
constexpr std::size_t kMaxListRows = 32767;

// Names compare exactly, after trailing spaces are dropped from both sides.
std::string TrimRight(const std::string& text) {
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::unordered_set<std::string> TrimmedSet(const std::vector<std::string>& rows) {
  std::unordered_set<std::string> set;
  set.reserve(rows.size());
  for (const std::string& row : rows) set.insert(TrimRight(row));
  return set;
}

// The current names missing from known, duplicates kept, in order.
std::vector<std::string> Missing(const std::vector<std::string>& current,
                                 const std::vector<std::string>& known) {
  std::unordered_set<std::string> set = TrimmedSet(known);
  std::vector<std::string> missing;
  for (const std::string& name : current)
    if (!set.count(TrimRight(name))) missing.push_back(name);
  return missing;
}

void Fill(ui::ListBox& list, std::vector<std::string> rows) {
  list.Clear();
  list.AddItems(std::move(rows), {});
}

}  // namespace

void Form5::Form_Load() {
  readFailureTold_ = trustLossTold_ = false;
  cutFilesTold_.clear();
  codePage_ = platform_.system.AnsiCodePage();
  notesPath_ = platform_.system.ProgramFolder() + "\\process.dll";
  lvwPrss.SetColumns({{Ansi("进程号"), 1500}, {Ansi("进程名"), 5600}});
}

void Form5::Form_Activate() {
  List7.SetVisible(false);
  LoadProcessList();
  std::vector<std::string> names;
  names.reserve(lvwPrss.ListCount());
  for (int i = 0; i < lvwPrss.ListCount(); ++i) names.push_back(lvwPrss.Row(i)[1]);
  Fill(List1, std::move(names));
  CompareWithSavedList();
  CompareWithTrustedList();
  LoadProcessNotes();
}

void Form5::LoadProcessList() {
  lvwPrss.Clear();
  host_.DoEvents();
  std::vector<ProcessEntry> processes;
  // A failed snapshot lists what it read before the failure, often nothing.
  platform_.processes.Snapshot(&processes);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(processes.size());
  for (const ProcessEntry& process : processes)
    rows.push_back({std::to_string(process.id), LowerAnsi(process.exeName, codePage_)});
  lvwPrss.AddRows(std::move(rows));
  cmdDelete.SetVisible(lvwPrss.ListCount() > 0);
}

void Form5::CompareWithSavedList() {
  const std::string path = systemDirectory_ + "\\morvane5.txt";
  if (!platform_.files.Exists(path)) {
    Fill(List3, {Ansi("没有进行过【保存当前进程】的操作,所以无法比较！")});
    return;
  }
  std::vector<std::string> saved;
  if (!ReadLines(path, &saved)) {
    Fill(List3, {Ansi("无法读取上次保存的进程列表,所以无法比较！")});
    return;
  }
  std::vector<std::string> added = Missing(List1.rows(), saved);
  if (added.empty()) added.push_back(Ansi("和上次保存进程时相比，没有新增加的进程"));
  Fill(List2, std::move(saved));
  Fill(List3, std::move(added));
}

void Form5::CompareWithTrustedList() {
  const std::string path = TrustedListPath();
  trustedListUnread_ = false;
  std::vector<std::string> trusted;
  // With no file yet, every process is untrusted and List5 keeps its rows.
  if (!platform_.files.Exists(path)) return Fill(List4, List1.rows());
  bool cut = false;
  if (!ReadLines(path, &trusted, &cut)) {
    trustedListUnread_ = true;
    return Fill(List4, List1.rows());
  }
  // The rows past the cut exist only in the file: never write it back.
  trustedListUnread_ = cut;
  Fill(List5, std::move(trusted));
  Fill(List4, Missing(List1.rows(), List5.rows()));
}

void Form5::LoadProcessNotes() {
  if (!platform_.files.Exists(notesPath_)) return;
  std::string bytes;
  // An unreadable notes file leaves the notes as they were, as a missing one does.
  if (platform_.files.ReadFile(notesPath_, &bytes) != kOk) return;
  Fill(List6, BoundedLines(notesPath_, bytes, nullptr));
}

void Form5::SaveTrustedList() {
  if (trustedListUnread_) return;
  WriteLines(TrustedListPath(), List5.rows());
}

std::vector<std::string> Form5::BoundedLines(const std::string& path, const std::string& bytes,
                                             bool* cut) {
  bool more = false;
  std::vector<std::string> lines = SplitLines(bytes, kMaxListRows, &more);
  if (cut) *cut = more;
  if (more && cutFilesTold_.insert(path).second)
    host_.MessageBox(Ansi("文件 ") + path + Ansi(" 超过32767行，只读入了前32767行。"), ui::kMbOk);
  return lines;
}

bool Form5::ReadLines(const std::string& path, std::vector<std::string>* lines, bool* cut) {
  std::string bytes;
  Status status = platform_.files.ReadFile(path, &bytes);
  if (status != kOk) {
    if (!readFailureTold_) ReportFailure("无法读取文件 ", path, status);
    readFailureTold_ = true;
    return false;
  }
  *lines = BoundedLines(path, bytes, cut);
  return true;
}

bool Form5::WriteLines(const std::string& path, const std::vector<std::string>& rows) {
  std::string bytes;
  for (const std::string& row : rows) bytes += row + "\r\n";
  std::string failedPath;
  Status status = WriteKeptFiles(platform_.files, {{path, bytes}}, &failedPath);
  if (status != kOk) ReportFailure("保存失败，无法写入文件 ", path, status);
  return status == kOk;
}

void Form5::ReportFailure(const char* what, const std::string& path, Status status) {
  host_.MessageBox(Ansi(what) + path + "\r\n" + Ansi(DescribeStatus(status).c_str()), ui::kMbOk);
}

void Form5::lvwPrss_Click() {
  const int i = lvwPrss.ListIndex();
  if (i < 0) return;
  cmdDelete.SetEnabled(true);
  Label1.SetText(lvwPrss.Row(i)[1]);
  ShowProcessNotes(Label1.text());
}

void Form5::cmdDelete_Click() {
  List7.SetVisible(false);
  const int i = lvwPrss.ListIndex();
  if (lvwPrss.ListCount() == 0 || i < 0) return;
  const std::uint32_t id = static_cast<std::uint32_t>(std::stoul(lvwPrss.Row(i)[0]));
  const std::string name = lvwPrss.Row(i)[1];
  // Ending this program would drop every unconfirmed change of the main window.
  if (id == platform_.processes.CurrentProcessId()) {
    host_.MessageBox(Ansi("不能终止本程序自己的进程 ") + name, ui::kMbOk);
    return;
  }
  if (host_.MessageBox(Ansi("真的终止") + Label1.text() + Ansi(" 进程吗?"),
                       ui::kMbYesNo | ui::kMbIconQuestion) != ui::kIdYes)
    return;
  Status status = platform_.processes.Terminate(id);
  host_.DoEvents();
  if (status != kOk) {
    // The process still runs (or was already gone): its row stays.
    host_.MessageBox(Ansi("无法终止进程 ") + name + "\r\n" +
                         Ansi(status == kInvalidParameter ? "该进程已经不存在"
                                                          : DescribeStatus(status).c_str()),
                     ui::kMbOk);
    return;
  }
  lvwPrss.RemoveRow(i);
  cmdDelete.SetEnabled(false);
}

void Form5::cmdRefresh_Click() {
  cmdDelete.SetEnabled(false);
  SaveTrustedList();
  Form_Activate();
}

void Form5::Command1_Click() {
  std::vector<std::string> names;
  for (int i = 0; i < lvwPrss.ListCount(); ++i) names.push_back(lvwPrss.Row(i)[1]);
  if (WriteLines(systemDirectory_ + "\\morvane5.txt", names))
    host_.MessageBox(Ansi("已经把当前进程保存到文件！"), ui::kMbOk);
  SaveTrustedList();
  Form_Activate();
}

void Form5::Command2_Click() {
  host_.MessageBox(Ansi("如果系统正常时执行过【保存当前进程】操作，那么现在多出的进程就值得怀疑了！\r"
                        "（当然如果后来安装或运行了什么程序,你知道该进程,就无必要怀疑,呵呵）"),
                   ui::kMbOk, Ansi("提示"));
}

void Form5::Command3_Click() {
  const bool toSaved = Command3.text() == Ansi("显示保存的进程列表");
  Command3.SetText(Ansi(toSaved ? "显示比保存时多出的进程" : "显示保存的进程列表"));
  Frame1.SetText(Ansi(toSaved ? "上次保存到文件的进程列表" : "比上次保存时多出的进程"));
  List3.SetVisible(!toSaved);
  List2.SetVisible(toSaved);
}

void Form5::Command4_Click() {
  const bool toTrusted = Command4.text() == Ansi("显示已信任的进程列表");
  Command4.SetText(Ansi(toTrusted ? "显示未被信任的进程" : "显示已信任的进程列表"));
  Frame3.SetText(Ansi(toTrusted ? "已信任的进程列表" : "未被信任的进程"));
  List4.SetVisible(!toTrusted);
  List5.SetVisible(toTrusted);
}

void Form5::Command5_Click() {
  host_.MessageBox(Ansi("如果系统正常时把正常的进程加入到信任进程列表，那么现在多出的进程就值得怀疑了！\r"
                        "（当然如果后来安装或运行了什么程序,你知道该进程,就无必要怀疑,呵呵）\r"
                        "双击加入到信任列表（从信任列表中移除）"),
                   ui::kMbOk, Ansi("提示"));
}

void Form5::ShowProcessNotes(const std::string& name) {
  List7.SetVisible(true);
  const std::string wanted = TrimRight(name);
  const std::vector<std::string>& notes = List6.rows();
  std::size_t first = 0;
  while (first < notes.size() && TrimRight(notes[first]) != wanted) ++first;
  if (first == notes.size()) {
    Fill(List7, {Ansi("没有此进程的相关信息！")});
    return;
  }
  std::vector<std::string> block;
  for (std::size_t j = first; j < first + kNoteRows; ++j) {
    // A block that ends with the file ends with one empty row.
    block.push_back(j < notes.size() ? notes[j] : std::string());
    if (TrimRight(block.back()).empty()) break;
  }
  Fill(List7, std::move(block));
}

void Form5::ShowSelectedNotes(const ui::ListBox& list) {
  if (list.ListIndex() >= 0) ShowProcessNotes(list.List(list.ListIndex()));
}

void Form5::List7_Click() {
  if (List7.ListIndex() >= 0) List7.SetTooltip(List7.List(List7.ListIndex()));
}

void Form5::MoveSelectedRow(ui::ListBox& from, ui::ListBox& to) {
  const int i = from.ListIndex();
  if (i < 0) return;
  if (trustedListUnread_ && !trustLossTold_) {
    trustLossTold_ = true;
    host_.MessageBox(Ansi("信任列表文件 ") + TrustedListPath() +
                         Ansi(" 没有完整读入，为免丢失其内容，不会改写它：这次信任或移除的进程不会保存。"),
                     ui::kMbOk);
  }
  to.AddItem(from.List(i));
  from.RemoveItem(i);
}

}  // namespace qel

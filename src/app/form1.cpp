// Form1's event handlers.
#include "app/form1.h"

#include <vector>

#include "app/commit_message.h"
#include "app/version.h"
#include "app/web_site.h"
#include "platform/status_text.h"
#include "process/form5.h"
#include "startup/backup.h"
#include "startup/browser_repairs.h"
#include "startup/catalogue.h"
#include "startup/commit.h"
#include "startup/program_file.h"
#include "startup/protection.h"
#include "startup/scanner.h"
#include "startup/snapshot.h"

namespace qel {
namespace {

constexpr char kControlPanelKey[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
constexpr char kFirstRunValue[] = "OpenMyHomePage";
constexpr char kUnchangeable[] = "此项的名称含有当前代码页无法表示的字符，本程序不能更改或删除它。";

std::vector<StartupEntry> AllRows(const EntryList& entries) {
  std::vector<StartupEntry> rows;
  rows.reserve(entries.Count());
  for (int i = 0; i < entries.Count(); ++i) rows.push_back(entries.Row(i));
  return rows;
}

}  // namespace

void Form1::Form_Load() {
  SetCaption(Ansi("Qelmora  版本 ") + std::to_string(QELMORA_VERSION_MAJOR) + "." +
             std::to_string(QELMORA_VERSION_MINOR) + "   By Tevanro");
  systemDirectory_ = platform_.system.SystemDirectory();
  Text1.SetText(ReadStartPage(registry_, &startPageUnreadable_));
  ScanStartupEntries(registry_, platform_, entries_);
  MarkMissingPrograms(platform_, List1, List4, List5);
  ProtectionSettings switches;
  ReadProtectionSwitches(registry_, &switches);
  Checkregedit.SetValue(switches.registryEditorLocked ? 1 : 0);
  Checkhomepage.SetValue(switches.homePageLocked ? 1 : 0);
  OpenWebSiteOnFirstRun();
}

void Form1::OpenWebSiteOnFirstRun() {
  RegValue mark;
  registry_.ReadRegValue(kHkeyCurrentUser, kControlPanelKey, kFirstRunValue, &mark);
  if (mark.AsInteger() == 1) return;
  RegValue one = RegValue::FromInteger(1);
  std::uint32_t size = 4;
  registry_.WriteRegValue(kHkeyCurrentUser, kControlPanelKey, kFirstRunValue, kRegDword, &one,
                          &size);
  Command11_Click();
}

void Form1::List1_Click() {
  const int i = List1.ListIndex();
  Text2.SetEnabled(true);
  Text2.SetText(List4.List(i));
  Label1.SetText(List4.List(i));
  if (i < 0) return;
  // A name the code page cannot hold: the row keeps its mark and its text.
  const StoredValue& stored = entries_.Stored(i);
  const bool fixed = stored.lock != StoredValue::Lock::None;
  if (fixed && List1.Selected(i) != stored.lockedEnabled) {
    List1.SetSelected(i, stored.lockedEnabled);
    Say(kUnchangeable);
  }
  if (const StartupSource* source = ShowPlace(i)) {
    // A Startup-folder entry's command line is the file itself.
    if (source->kind == PlaceKind::StartupFolder || fixed) Text2.SetEnabled(false);
  }
  Command1.SetEnabled(true);
}

const StartupSource* Form1::ShowPlace(int i) {
  const StartupSource* source = FindSource(List5.List(i));
  if (!source) return nullptr;  // an unknown tag: the panel keeps what it shows
  const StoredValue& stored = entries_.Stored(i);
  const bool enabled = List1.Selected(i);
  // Unchecked, an entry Task Manager disabled still stands in its enabled place.
  const bool byTaskManager = stored.taskManagerOff && !enabled;
  text2text.SetText(
      Ansi(LocationText(*source, enabled || byTaskManager, platform_.registry.OtherView())
               .c_str()) +
      (byTaskManager ? Ansi("（已在任务管理器中禁用）") : "") +
      (stored.lock != StoredValue::Lock::None
           ? Ansi("（名称含有无法表示的字符，本程序不能更改此项）")
           : "") +
      (IsMissingProgramRow(List1, i) ? Ansi("（找不到程序文件）") : ""));
  return source;
}

void Form1::Command1_Click() {
  const int i = List1.ListIndex();
  if (List1.ListCount() == 0 || i < 0) return;
  if (entries_.Stored(i).lock != StoredValue::Lock::None) return Say(kUnchangeable);
  entries_.Remove(i);
  Command1.SetEnabled(false);
  List1_Click();
}

void Form1::List4_Click() { host_.MessageBox(Ansi("请点击左侧窗口"), ui::kMbOk, Ansi("提示")); }

void Form1::Text2_Change() {
  const int i = List1.ListIndex();
  if (entries_.Stored(i).lock != StoredValue::Lock::None || List4.List(i) == Text2.text()) return;
  List4.SetList(i, Text2.text());
  MarkMissingProgram(platform_, List1, List4, List5, i);
  ShowPlace(i);
}

void Form1::Command2_Click() {
  // A start page that is there but unreadable is kept unless the user typed one.
  const bool keepStartPage = startPageUnreadable_ && Text1.text().empty();
  const ProtectionSettings switches{Checkregedit.value() == 1, Checkhomepage.value() == 1,
                                    NormaliseStartPage(Text1.text()), !keepStartPage};
  bool goOn = true;
  std::vector<UndoneEntry> undone =
      CommitStartupEntries(registry_, platform_, entries_, [&](PlannedChanges changes) {
        DescribeProtectionChanges(registry_, switches, &changes.values);
        return goOn = BackUpOrAsk(changes);
      });
  if (!goOn) return;
  Text1.SetText(switches.startPage);
  WriteProtectionSwitches(registry_, switches);
  PruneBackups(platform_.files, platform_.system.ProgramFolder());
  if (!undone.empty())
    host_.MessageBox(DescribeUndone(undone, platform_.system, platform_.registry.OtherView()),
                     ui::kMbOk);
  host_.EndProgram();
}

bool Form1::BackUpOrAsk(const PlannedChanges& changes) {
  std::string folder;
  const Status status = WriteBackup(platform_, changes, &folder);
  if (status == kOk) return true;
  return host_.MessageBox(Ansi("无法写入备份文件夹 ") + folder + "\r\n" +
                              Ansi(DescribeStatus(status).c_str()) + "\r\n\r\n" +
                              Ansi("不备份，继续确认吗？选“否”则不作任何更改。"),
                          ui::kMbYesNo | ui::kMbIconWarning | ui::kMbDefButton2) == ui::kIdYes;
}

void Form1::Command3_Click() {
  SnapshotFiles bytes;
  int offending = -1;
  if (!FormatSnapshot(AllRows(entries_), &bytes, &offending)) {
    if (offending >= kMaxSnapshotRows) {
      Say("无法保存：自启动项超过32767项，保存后将无法恢复。没有保存任何文件。");
    } else {
      host_.MessageBox(Ansi("无法保存：自启动项“") + List1.List(offending) +
                           Ansi("”的内容含有换行符，保存到文件后无法正确恢复。没有保存任何文件。"),
                       ui::kMbOk);
    }
    return;
  }
  std::string failedPath;
  Status status =
      WriteSnapshotFiles(platform_.files, SnapshotPaths(systemDirectory_), bytes, &failedPath);
  if (status != kOk) {
    host_.MessageBox(Ansi("保存失败，无法写入文件 ") + failedPath + "\r\n" +
                         Ansi(DescribeStatus(status).c_str()),
                     ui::kMbOk);
    return;
  }
  Say("已经把自启动项保存到文件！按【恢复上次的保存】按钮即可恢复");
}

void Form1::Command6_Click() {
  const SnapshotFiles paths = SnapshotPaths(systemDirectory_);
  SnapshotFiles bytes;
  std::vector<StartupEntry> rows;
  // All three files are read and checked before any list changes, so the
  // lists never end up out of step.
  if (platform_.files.ReadFile(paths.names, &bytes.names) != kOk ||
      platform_.files.ReadFile(paths.commandLines, &bytes.commandLines) != kOk ||
      platform_.files.ReadFile(paths.tags, &bytes.tags) != kOk || !ParseSnapshot(bytes, &rows)) {
    Say("没有发现上次保存的数据！");
    return;
  }
  entries_.ReplaceAll(rows);
  MarkMissingPrograms(platform_, List1, List4, List5);
  Command1.SetEnabled(false);
  Label1.SetText("");
  Say("把自动启动项恢复到上次保存的状态！核对正确按【确认】");
}

void Form1::Command7_Click() {
  Status status = RestoreBrowserTitle(registry_);
  if (status == kOk) return Say("IE标题恢复成功！");
  host_.MessageBox(Ansi(("恢复IE标题失败：" + DescribeStatus(status)).c_str()), ui::kMbOk);
}

void Form1::Command8_Click() {
  Status status = ClearTypedUrls(registry_);
  if (status == kOk) return Say("地址栏网址已被清除!");
  host_.MessageBox(Ansi(("清除地址栏网址失败：" + DescribeStatus(status)).c_str()), ui::kMbOk);
}

void Form1::Command4_Click() { host_.Unload(*this); }

void Form1::Command9_Click() {
  // A fresh window at each opening: its lists and view switches start anew.
  Form5 form(platform_, host_, systemDirectory_);
  host_.ShowModal(form);
}

void Form1::Command10_Click() {
  if (!form4_) form4_ = std::make_unique<Form4>(platform_, host_);
  host_.ShowModal(*form4_);
}

void Form1::Command5_Click() {
  if (!form3_) form3_ = std::make_unique<Form3>(platform_, host_, WebSiteAddress(platform_.system));
  host_.ShowModal(*form3_);
}

void Form1::Command11_Click() {
  const std::string address = WebSiteAddress(platform_.system);
  // Without the page the shell would show its own error or guess; say plainly what is missing.
  if (WebSiteIsShippedPage() && !platform_.files.Exists(address)) {
    host_.MessageBox(Ansi("找不到说明页：") + address, ui::kMbOk);
    return;
  }
  platform_.system.ShellExecute(host_.NativeHandle(*this), "Open", address, "",
                                platform_.system.ProgramFolder(), 1);
}

}  // namespace qel

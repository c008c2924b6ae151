// The process monitor: the running processes, the saved list and what is new
// since, the trusted names and what is not trusted, notes and termination.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace qel {

class Form5 : public ui::Window {
 public:
  // systemDirectory: where the saved and trusted lists live.
  Form5(Platform& platform, ui::Host& host, std::string systemDirectory);

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override { SaveTrustedList(); }

  void lvwPrss_Click();
  void cmdDelete_Click();
  void cmdRefresh_Click();
  void cmdExit_Click() { host_.Unload(*this); }
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void List2_Click() { ShowSelectedNotes(List2); }
  void List3_Click() { ShowSelectedNotes(List3); }
  void List4_Click() { ShowSelectedNotes(List4); }
  void List5_Click() { ShowSelectedNotes(List5); }
  void List7_Click();
  void List4_DblClick() { MoveSelectedRow(List4, List5); }
  void List5_DblClick() { MoveSelectedRow(List5, List4); }

  // Controls, in layout order: containers come before what they hold.
  ui::Frame Frame2;
  ui::ListBox List7;  // before lvwPrss, so that it lies over it
  ui::ListView lvwPrss;
  ui::Label Label1;
  ui::Button cmdDelete, Command1;
  ui::ListBox List6;
  ui::Frame Frame1;
  ui::ListBox List3, List2, List1;
  ui::Button Command3, Command2;
  ui::Frame Frame3;
  ui::ListBox List4, List5;
  ui::Button Command4, Command5, cmdRefresh, cmdExit;

 private:
  std::string Ansi(const char* utf8) const { return platform_.system.ToAnsi(utf8); }
  void SetUp(ui::Control& control, const char* caption, int tabIndex);
  void LayOut();

  void LoadProcessList();
  void CompareWithSavedList();
  void CompareWithTrustedList();
  void LoadProcessNotes();
  void SaveTrustedList();
  void ShowProcessNotes(const std::string& name);
  void ShowSelectedNotes(const ui::ListBox& list);
  void MoveSelectedRow(ui::ListBox& from, ui::ListBox& to);
  // Reads a list file; a failure is told once per opening of the window.
  // *cut: the file had more lines than a list holds (told once per file).
  bool ReadLines(const std::string& path, std::vector<std::string>* lines, bool* cut = nullptr);
  std::string TrustedListPath() const { return systemDirectory_ + "\\morvane4.txt"; }
  std::vector<std::string> BoundedLines(const std::string& path, const std::string& bytes, bool* cut);
  // Writes rows as CR LF lines; a failure is told, naming the file.
  bool WriteLines(const std::string& path, const std::vector<std::string>& rows);
  void ReportFailure(const char* what, const std::string& path, Status status);

  Platform& platform_;
  ui::Host& host_;
  std::string systemDirectory_;
  std::string notesPath_;
  std::uint32_t codePage_ = 0;
  bool readFailureTold_ = false;
  std::set<std::string> cutFilesTold_;
  // Set while the trusted file exists but could not be read whole: List5 is
  // not what the file holds, and writing it would destroy the user's list.
  bool trustedListUnread_ = false;
  bool trustLossTold_ = false;  // that trust changes are not kept, said once
};

}  // namespace qel

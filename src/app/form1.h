// The main window: the startup entry list with its detail panel, the
// protection switches, the snapshot and repair buttons, confirm and cancel.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "registry/module1.h"
#include "help/form3.h"
#include "startup/catalogue.h"
#include "startup/changes.h"
#include "startup/entry_list.h"
#include "ui/controls.h"
#include "ui/host.h"
#include "winlogon/form4.h"

namespace qel {

class Form1 : public ui::Window {
 public:
  Form1(Platform& platform, ui::Host& host);

  void Form_Load() override;
  void Form_Unload() override {}

  void List1_Click();
  void Command1_Click();
  void List4_Click();
  void Text2_Change();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  void Command11_Click();

  const std::string& systemDirectory() const { return systemDirectory_; }
  EntryList& entries() { return entries_; }

  // Controls, in layout order: containers come before what they hold.
  ui::Button Command11, Command10, Command9;
  ui::Frame Frame4;
  ui::Button Command1;
  ui::TextBox Text2;
  ui::Label Label2, text2text, Label3, Label1;
  ui::Frame Frame3;
  ui::Button Command8, Command7;
  ui::CheckBox Checkregedit;
  ui::Button Command3;
  ui::Frame Frame5;
  ui::TextBox Text1;
  ui::Button Command6;
  ui::CheckBox Checkhomepage;
  ui::Button Command4, Command5;
  ui::Frame Frame2;
  ui::ListBox List4;
  ui::Frame Frame1;
  ui::ListBox List1, List5;
  ui::Button Command2;

 private:
  std::string Ansi(const char* utf8) const { return platform_.system.ToAnsi(utf8); }
  void Say(const char* utf8) { host_.MessageBox(Ansi(utf8), ui::kMbOk); }
  void SetUp(ui::Control& control, const char* caption, int tabIndex,
             const char* tooltip = nullptr);
  void LayOut();
  // Shows in the detail panel where row i lives; its place, or null for an
  // unknown tag.
  const StartupSource* ShowPlace(int i);
  void OpenWebSiteOnFirstRun();
  // Writes the backup of changes; when it cannot, asks whether to go on.
  bool BackUpOrAsk(const PlannedChanges& changes);

  Platform& platform_;
  ui::Host& host_;
  Module1 registry_;
  EntryList entries_;
  std::string systemDirectory_;
  bool startPageUnreadable_ = false;
  // The modal windows, created at their first opening.
  std::unique_ptr<Form4> form4_;
  std::unique_ptr<Form3> form3_;
};

}  // namespace qel

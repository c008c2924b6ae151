// A small window with one control of every kind, shown by the real Win32
// host, and helpers to read the native controls back.
#pragma once

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/win32/win32_host.h"

namespace qel::test {

class HostTestWindow : public ui::Window {
 public:
  HostTestWindow();

  ui::Frame outer{*this, "Outer", nullptr, {120, 360, 4500, 3900}};
  ui::ListBox marks{*this, "Marks", &outer, {120, 360, 3375, 2370}, /*checkBoxes=*/true};
  ui::Frame inner{*this, "Inner", &outer, {120, 2880, 4200, 855}};
  ui::TextBox line{*this, "Line", &inner, {240, 300, 3375, 375}};
  ui::ListBox plain{*this, "Plain", nullptr, {4800, 360, 3000, 2400}};
  ui::TextBox memo{*this, "Memo", nullptr, {120, 4440, 7680, 615}};
  ui::Label label{*this, "Label", nullptr, {120, 5160, 3000, 255}};
  ui::CheckBox check{*this, "Check", nullptr, {3240, 5160, 1815, 420}};
  ui::Button cancel{*this, "Cancel", nullptr, {5400, 5760, 975, 375}};
  ui::Button off{*this, "Off", nullptr, {4200, 5760, 975, 375}};
  ui::ListBox hidden{*this, "Hidden", nullptr, {0, 0, 975, 375}, /*checkBoxes=*/true};
  ui::ListView report{*this, "Report", nullptr, {8040, 360, 3600, 2400}};
  ui::Button ok{*this, "Ok", nullptr, {6600, 5760, 975, 375}};

  void Form_Load() override;
  void Form_Unload() override;

  // Events raised on the models, by "Name.Click" / "Name.Change".
  std::map<std::string, int> events;
  int Events(const std::string& key) const;
  int TotalEvents() const;
  int loads = 0, unloads = 0;
  std::function<void()> onLoad, onUnload;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Native(const ui::Control& control) const { return host.NativeControl(control); }
  HWND Top() const { return host.NativeWindow(window); }

  win32::Win32Host host{GetModuleHandleA(nullptr)};
  HostTestWindow window;
};

// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
std::string TextOf(HWND hwnd);
int ListViewCount(HWND list);
bool ListViewChecked(HWND list, int row);
int ListViewSelected(HWND list);
std::string ListViewText(HWND list, int row, int column = 0);
void ListViewSetState(HWND list, int row, UINT state, UINT mask);
std::string ListBoxText(HWND list, int row);
// A mouse click at a client point of a control, as the system sends it.
void Click(HWND control, POINT point);
// Posts a key press to the focused control and lets the host's loop route it.
void PressKey(win32::Win32Host& host, UINT key);

}  // namespace qel::test

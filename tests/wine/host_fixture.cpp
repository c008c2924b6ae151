#include "host_fixture.h"

namespace qel::test {

HostTestWindow::HostTestWindow() : ui::Window("HostTestWindow") {
  clientWidth = 11760;
  clientHeight = 6360;
  SetCaption("\xC8\xB7\x20\x20\xC8\xCF test");  // GBK bytes reach the window as they are
  outer.SetText("\xC6\xF4\xB6\xAF\xCA\xB1\xD7\xD4\xB6\xAF\xD4\xCB\xD0\xD0\xCF\xEE");
  line.SetText("line");
  memo.SetText("memo");
  memo.multiLine = true;
  label.SetText("\xCB\xF9\xD4\xDA\xCE\xBB\xD6\xC3\xA3\xBA");
  label.foreColor = ui::Color::Rgb(0, 0, 255);
  label.backColor = ui::Color::System(ui::kSysColorActiveBorder);
  memo.tooltip = "\xD0\xDE\xB8\xC4";
  ok.tooltip = "ok tip";
  cancel.SetText("\xC8\xA1\xCF\xFB");
  cancel.isCancel = true;
  off.SetEnabled(false);
  hidden.SetVisible(false);
  report.SetColumns({{"Name", 1500}, {"Id", 900}});

  // Declared out of tab order, so that the host must sort them.
  int tab = 0;
  for (ui::Control* c : std::initializer_list<ui::Control*>{&ok, &marks, &plain, &line, &memo,
                                                         &check, &off, &cancel, &report})
    c->tabIndex = tab++;
  for (ui::Control* c : controls()) {
    std::string name = c->name();
    c->Click = [this, name] { ++events[name + ".Click"]; };
    c->Change = [this, name] { ++events[name + ".Change"]; };
  }
}

void HostTestWindow::Form_Load() {
  ++loads;
  for (const char* row : {"alpha", "beta", "gamma", "delta"}) {
    marks.AddItem(row);
    plain.AddItem(std::string("C:\\") + row + ".exe");
    hidden.AddItem(row);
  }
  marks.SetSelected(1, true);
  hidden.SetSelected(2, true);
  report.AddRow({"a.exe", "1"});
  report.AddRow({"b.exe", "2"});
  if (onLoad) onLoad();
}

void HostTestWindow::Form_Unload() {
  ++unloads;
  if (onUnload) onUnload();
}

int HostTestWindow::Events(const std::string& key) const {
  auto it = events.find(key);
  return it == events.end() ? 0 : it->second;
}

int HostTestWindow::TotalEvents() const {
  int total = 0;
  for (const auto& e : events) total += e.second;
  return total;
}

void HostTest::SetUp() {
  host.Open(window);
  host.DoEvents();
  window.events.clear();  // what loading raised is not under test here
}

void HostTest::TearDown() {
  host.Close(window);
  host.DoEvents();
}

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

int ListViewCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

bool ListViewChecked(HWND list, int row) {
  return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

int ListViewSelected(HWND list) {
  return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

std::string ListViewText(HWND list, int row, int column) {
  char buffer[1024] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, LPARAM(&item));
  return buffer;
}

void ListViewSetState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageA(list, LVM_SETITEMSTATE, row, LPARAM(&item));
}

std::string ListBoxText(HWND list, int row) {
  char buffer[1024] = {};
  if (SendMessageA(list, LB_GETTEXT, row, LPARAM(buffer)) == LB_ERR) return "<none>";
  return buffer;
}

void Click(HWND control, POINT point) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void PressKey(win32::Win32Host& host, UINT key) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  host.DoEvents();
}

}  // namespace qel::test

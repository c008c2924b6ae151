// Reading native controls back, and driving them as the system would.
#pragma once

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <string>

#include "ui/win32/win32_host.h"

namespace qel::test {

inline std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

inline int ListViewCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

inline bool ListViewChecked(HWND list, int row) {
  return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

inline std::string ListViewText(HWND list, int row, int column = 0) {
  char buffer[1024] = {};
  LVITEMA item = {};
  item.iSubItem = column, item.pszText = buffer, item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, LPARAM(&item));
  return buffer;
}

inline void ListViewSetState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state, item.stateMask = mask;
  SendMessageA(list, LVM_SETITEMSTATE, row, LPARAM(&item));
}

inline std::string ListBoxText(HWND list, int row) {
  char buffer[1024] = {};
  SendMessageA(list, LB_GETTEXT, row, LPARAM(buffer));
  return buffer;
}

// A mouse click at a client point of a control.
inline void Click(HWND control, POINT point) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// Posts a key press to the focused control and lets the host's loop route it.
inline void PressKey(win32::Win32Host& host, UINT key) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  host.DoEvents();
}

}  // namespace qel::test

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "ui/win32/native_control.h"

namespace qel::win32::rows {
namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

LRESULT Send(const NativeControl& c, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return SendMessageA(c.hwnd, msg, wp, lp);
}

void SetItemState(const NativeControl& c, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.stateMask = mask;
  item.state = state;
  Send(c, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
}

void SetItemText(const NativeControl& c, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  Send(c, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&item));
}

void InsertItem(const NativeControl& c, int row, const std::string& text) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>(text.c_str());
  Send(c, LVM_INSERTITEMA, 0, LPARAM(&item));
}

void InsertOne(NativeControl& c, int row) {
  switch (c.kind) {
    case NativeKind::ListBox:
      Send(c, LB_INSERTSTRING, WPARAM(row), LPARAM(c.listBox().List(row).c_str()));
      break;
    case NativeKind::CheckList:
      InsertItem(c, row, c.listBox().List(row));
      // A new row comes unchecked (the list view ignores a mark given with the
      // row); setting the mark it already has would only cost two change
      // notifications to the parent.
      if (NativeChecked(c, row) != c.listBox().Selected(row))
        SetItemState(c, row, c.listBox().Selected(row) ? kChecked : kUnchecked,
                     LVIS_STATEIMAGEMASK);
      break;
    case NativeKind::ReportView: {
      const std::vector<std::string>& cells = c.listView().Row(row);
      InsertItem(c, row, cells.empty() ? std::string() : cells[0]);
      for (size_t i = 1; i < cells.size(); ++i) SetItemText(c, row, int(i), cells[i]);
      break;
    }
    default:
      break;
  }
}

int ModelCount(const NativeControl& c) {
  return c.kind == NativeKind::ReportView ? c.listView().ListCount() : c.listBox().ListCount();
}

int ModelCurrent(const NativeControl& c) {
  return c.kind == NativeKind::ReportView ? c.listView().ListIndex() : c.listBox().ListIndex();
}

bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

void AppendFromModel(NativeControl& c) {
  int first = c.nativeRows, count = ModelCount(c);
  if (first >= count) return;
  // Only a control that is visible by style may toggle redraw: WM_SETREDRAW
  // TRUE sets WS_VISIBLE through DefWindowProc.
  bool batch = count - first > 1 && HasVisibleStyle(c.hwnd);
  if (batch) {
    Send(c, WM_SETREDRAW, FALSE);
    if (c.kind == NativeKind::ListBox)
      Send(c, LB_INITSTORAGE, WPARAM(count - first), LPARAM((count - first) * 32));
    else
      Send(c, LVM_SETITEMCOUNT, WPARAM(count));
  }
  for (int row = first; row < count; ++row) InsertOne(c, row);
  c.nativeRows = count;
  if (batch) {
    Send(c, WM_SETREDRAW, TRUE);
    InvalidateRect(c.hwnd, nullptr, TRUE);
  }
  SyncCurrent(c);
}

void Remove(NativeControl& c, int row) {
  if (row < 0 || row >= c.nativeRows) return;
  Send(c, c.kind == NativeKind::ListBox ? LB_DELETESTRING : LVM_DELETEITEM, WPARAM(row));
  // Wine's list view, scrolled down, leaves the rows below the deleted one painted where
  // they were: a row the user deleted seemed to stay.
  if (c.kind != NativeKind::ListBox) InvalidateRect(c.hwnd, nullptr, TRUE);
  --c.nativeRows;
  SyncCurrent(c);
}

void SetText(NativeControl& c, int row) {
  if (row < 0 || row >= c.nativeRows) return;
  const std::string& text = c.listBox().List(row);
  if (c.kind == NativeKind::CheckList) {
    SetItemText(c, row, 0, text);
    return;
  }
  // A list box has no way to change a row's text in place. The count changes
  // twice meanwhile, and a visible list box redraws its scroll bar at once
  // for each change (under Wine that costs milliseconds), and again when
  // WM_SETREDRAW turns drawing back on. So the list is marked invisible for
  // the change, as WM_SETREDRAW does for a plain window, without the paint
  // that message would discard; the count ends where it was, so only the
  // row itself needs repainting.
  LONG_PTR style = GetWindowLongPtrA(c.hwnd, GWL_STYLE);
  bool hide = (style & WS_VISIBLE) != 0;
  if (hide) SetWindowLongPtrA(c.hwnd, GWL_STYLE, style & ~LONG_PTR(WS_VISIBLE));
  Send(c, LB_DELETESTRING, WPARAM(row));
  Send(c, LB_INSERTSTRING, WPARAM(row), LPARAM(text.c_str()));
  if (hide) {
    SetWindowLongPtrA(c.hwnd, GWL_STYLE, style);
    RECT rect;
    if (Send(c, LB_GETITEMRECT, WPARAM(row), LPARAM(&rect)) != LB_ERR)
      InvalidateRect(c.hwnd, &rect, TRUE);
  }
  SyncCurrent(c);
}

void SetCheck(NativeControl& c, int row) {
  if (c.kind != NativeKind::CheckList || row < 0 || row >= c.nativeRows) return;
  bool checked = c.listBox().Selected(row);
  if (NativeChecked(c, row) != checked)
    SetItemState(c, row, checked ? kChecked : kUnchecked, LVIS_STATEIMAGEMASK);
}

void RemoveAll(NativeControl& c) {
  Send(c, c.kind == NativeKind::ListBox ? LB_RESETCONTENT : LVM_DELETEALLITEMS);
  c.nativeRows = 0;
}

void SyncCurrent(NativeControl& c) {
  int want = ModelCurrent(c);
  if (want >= c.nativeRows) want = -1;
  if (c.kind == NativeKind::ListBox) {
    if (NativeCurrent(c) != want) Send(c, LB_SETCURSEL, WPARAM(want));
    return;
  }
  // A list view answers "which row is selected" by walking its rows (Wine
  // does), which made every click cost more the longer the list. Whether one
  // row is selected, and how many are, it answers at once; the list allows
  // one selected row at most.
  if (want < 0) {
    if (Send(c, LVM_GETSELECTEDCOUNT) != 0) SetItemState(c, -1, 0, LVIS_SELECTED);
    return;
  }
  if (Send(c, LVM_GETITEMSTATE, WPARAM(want), LVIS_SELECTED) & LVIS_SELECTED) return;
  SetItemState(c, want, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Send(c, LVM_ENSUREVISIBLE, WPARAM(want), FALSE);
}

void SetColumns(NativeControl& c, int dpiX) {
  while (Send(c, LVM_DELETECOLUMN, 0)) {
  }
  const std::vector<ui::ListView::Column>& columns = c.listView().columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = MulDiv(columns[i].width, dpiX, 1440);
    column.pszText = const_cast<char*>(columns[i].caption.c_str());
    column.iSubItem = int(i);
    Send(c, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&column));
  }
}

int NativeCurrent(const NativeControl& c) {
  if (c.kind == NativeKind::ListBox) {
    LRESULT sel = Send(c, LB_GETCURSEL);
    return sel == LB_ERR ? -1 : int(sel);
  }
  return int(Send(c, LVM_GETNEXTITEM, WPARAM(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

bool NativeChecked(const NativeControl& c, int row) {
  UINT state = UINT(Send(c, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) == kChecked;
}

std::string NativeText(const NativeControl& c, int row) {
  if (c.kind == NativeKind::ListBox) {
    LRESULT length = Send(c, LB_GETTEXTLEN, WPARAM(row));
    if (length == LB_ERR) return {};
    std::string text(size_t(length) + 1, '\0');
    LRESULT got = Send(c, LB_GETTEXT, WPARAM(row), LPARAM(&text[0]));
    text.resize(got == LB_ERR ? 0 : size_t(got));
    return text;
  }
  // The list view has no length query: grow the buffer until the text fits.
  for (size_t size = 256;; size *= 4) {
    std::string text(size, '\0');
    LVITEMA item = {};
    item.pszText = &text[0];
    item.cchTextMax = int(size);
    LRESULT got = Send(c, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
    if (size_t(got) + 1 < size) {
      text.resize(size_t(got));
      return text;
    }
  }
}

int RowAt(const NativeControl& c, POINT client) {
  if (c.kind == NativeKind::ListBox) {
    int top = int(Send(c, LB_GETTOPINDEX));
    for (int row = top < 0 ? 0 : top; row < c.nativeRows; ++row) {
      RECT rect;
      if (Send(c, LB_GETITEMRECT, WPARAM(row), LPARAM(&rect)) == LB_ERR) break;
      if (rect.top > client.y) break;
      if (PtInRect(&rect, client)) return row;
    }
    return -1;
  }
  LVHITTESTINFO hit = {};
  hit.pt = client;
  int row = int(Send(c, LVM_HITTEST, 0, LPARAM(&hit)));
  return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

}  // namespace qel::win32::rows

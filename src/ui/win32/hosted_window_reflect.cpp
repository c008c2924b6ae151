// Model changes onto the native controls.
#include "ui/win32/host_util.h"
#include "ui/win32/hosted_window.h"

namespace qel::win32 {

void HostedWindow::OnCaptionChanged(ui::Window& window) {
  if (hwnd_) SetWindowTextA(hwnd_, window.caption().c_str());
}

void HostedWindow::OnControlChanged(ui::Control& control, ui::ChangeKind change, int row) {
  NativeControl* native = FindByModel(control);
  if (!native || !native->hwnd) return;
  ReflectScope reflecting(host_);
  Reflect(*native, change, row);
}

// Every write compares first: a change that came from the native control
// finds it already up to date and is not written back.
void HostedWindow::Reflect(NativeControl& native, ui::ChangeKind change, int row) {
  const ui::Control& m = *native.model;
  switch (change) {
    case ui::ChangeKind::Text:
      if (!native.IsList() && WindowText(native.hwnd) != m.text())
        SetWindowTextA(native.hwnd, m.text().c_str());
      break;
    case ui::ChangeKind::Enabled:
      // A disabled control cannot keep the focus: pass it on in tab order.
      if (!m.enabled() && GetFocus() == native.hwnd) {
        HWND next = NextTabStop(native.hwnd, false);
        if (next && next != native.hwnd) SetFocus(next);
      }
      if (bool(IsWindowEnabled(native.hwnd)) != m.enabled()) EnableWindow(native.hwnd, m.enabled());
      break;
    case ui::ChangeKind::Visible:
      if (m.visible() && native.IsList() && !native.rowsLoaded) LoadRows(native);
      ShowWindow(native.hwnd, m.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::ChangeKind::Value: {
      int value = static_cast<const ui::CheckBox&>(m).value();
      if (CheckValue(SendMessageA(native.hwnd, BM_GETCHECK, 0, 0)) != value)
        SendMessageA(native.hwnd, BM_SETCHECK, WPARAM(value), 0);
      break;
    }
    case ui::ChangeKind::Tooltip:
      UpdateTooltip(native);
      break;
    default:
      if (native.IsList()) ReflectRows(native, change, row);
      break;
  }
}

void HostedWindow::ReflectRows(NativeControl& native, ui::ChangeKind change, int row) {
  if (change == ui::ChangeKind::Columns) {
    rows::SetColumns(native, dpiX_);
    return;
  }
  if (!native.rowsLoaded) return;  // a hidden list: the model alone holds the rows
  switch (change) {
    case ui::ChangeKind::RowAdded:
      // A bulk append notifies row by row after adding them all: the first
      // notice brings every new row over, the others find theirs there.
      if (row >= native.nativeRows) rows::AppendFromModel(native);
      break;
    case ui::ChangeKind::RowRemoved:
      rows::Remove(native, row);
      break;
    case ui::ChangeKind::RowText:
      rows::SetText(native, row);
      break;
    case ui::ChangeKind::RowCheck:
      rows::SetCheck(native, row);
      break;
    case ui::ChangeKind::RowColor:
      rows::Redraw(native, row);
      break;
    case ui::ChangeKind::Cleared:
      rows::RemoveAll(native);
      break;
    case ui::ChangeKind::Selection:
      rows::SyncCurrent(native);
      break;
    default:
      break;
  }
}

}  // namespace qel::win32

// Native notifications to the models: update the model, then raise the event.
#include "ui/win32/host_util.h"
#include "ui/win32/hosted_window.h"

namespace qel::win32 {

void HostedWindow::RaiseClick(NativeControl& native) {
  native.clickRaised = true;
  // A copy: the handler may replace the control's handler while it runs.
  std::function<void()> click = native.model->Click;
  if (click) click();
}

void HostedWindow::OnCommand(NativeControl& native, int code) {
  // BM_CLICK reaches a disabled button too; a user cannot press one.
  if (host_.reflecting() || !native.model->enabled()) return;
  switch (native.kind) {
    case NativeKind::Button:
      if (code == BN_CLICKED) RaiseClick(native);
      break;
    case NativeKind::CheckBox:
      if (code == BN_CLICKED) {
        static_cast<ui::CheckBox*>(native.model)
            ->SetValue(CheckValue(SendMessageA(native.hwnd, BM_GETCHECK, 0, 0)));
        if (!closed_) RaiseClick(native);
      }
      break;
    case NativeKind::Edit:
      // The model raises Change; reflection finds the edit already holding
      // the text, so the caret stays where the user left it.
      if (code == EN_CHANGE) native.model->SetText(WindowText(native.hwnd));
      break;
    case NativeKind::ListBox:
      if (code == LBN_SELCHANGE) {
        int row = rows::NativeCurrent(native);
        // Sent for a click on the current row too; that click is raised on
        // button release, and only when it hit the row.
        if (row == native.listBox().ListIndex()) return;
        native.listBox().SetListIndex(row);
        if (!closed_) RaiseClick(native);
      } else if (code == LBN_DBLCLK && native.model->DblClick) {
        std::function<void()> dblClick = native.model->DblClick;
        dblClick();
      }
      break;
    default:
      break;
  }
}

void HostedWindow::OnListChanged(NativeControl& native, const NMLISTVIEW& change) {
  if (host_.reflecting() || !(change.uChanged & LVIF_STATE)) return;
  int row = change.iItem;
  if (row < 0 || row >= native.nativeRows) return;
  UINT flipped = change.uOldState ^ change.uNewState;
  if (native.kind == NativeKind::CheckList && (flipped & LVIS_STATEIMAGEMASK) &&
      (change.uOldState & LVIS_STATEIMAGEMASK)) {  // no old image: the row is being set up
    ui::ListBox& list = native.listBox();
    list.SetSelected(row, (change.uNewState & LVIS_STATEIMAGEMASK) == kCheckedImage);
    // The row whose mark the user toggled becomes the current row.
    list.SetListIndex(row);
    if (!closed_) RaiseClick(native);
    return;
  }
  if (!(flipped & LVIS_SELECTED)) return;
  if (!(change.uNewState & LVIS_SELECTED)) return OnSelectionLost(native, row);
  if (native.kind == NativeKind::ReportView) {
    if (row == native.listView().ListIndex()) return;
    native.listView().SetListIndex(row);
  } else {
    if (row == native.listBox().ListIndex()) return;
    native.listBox().SetListIndex(row);
  }
  if (!closed_) RaiseClick(native);
}

// The highlight went and no other row took it, as after a click on empty
// space. A report view then has no current row, so that nothing acts on a row
// the user no longer sees chosen. A check list stands for a list box, which
// keeps its current row: the highlight comes back once the list view is done
// with the click (while it runs, another row may still be about to take it).
void HostedWindow::OnSelectionLost(NativeControl& native, int row) {
  if (SendMessageA(native.hwnd, LVM_GETSELECTEDCOUNT, 0, 0) != 0) return;
  if (native.kind != NativeKind::ReportView)
    PostMessageA(hwnd_, kRestoreSelection, WPARAM(native.id), 0);
  else if (row == native.listView().ListIndex())
    native.listView().SetListIndex(-1);
}

LRESULT CALLBACK HostedWindow::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* native = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!native) return DefWindowProcA(hwnd, msg, wp, lp);
  WNDPROC base = native->baseProc;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    return CallWindowProcA(base, hwnd, msg, wp, lp);
  }
  HostedWindow* self = native->owner;
  MessageScope scope(self->host_);
  return self->ListMessage(*native, msg, wp, lp);
}

LRESULT HostedWindow::ListMessage(NativeControl& native, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = native.hwnd;
  WNDPROC base = native.baseProc;
  if (msg == WM_LBUTTONDOWN) {
    POINT point = {short(LOWORD(lp)), short(HIWORD(lp))};
    native.clickPending = true;
    native.clickRaised = false;
    native.clickRow = rows::RowAt(native, point);
  }
  LRESULT result = CallWindowProcA(base, hwnd, msg, wp, lp);
  if (msg == WM_LBUTTONUP) FinishClick(native);
  return result;
}

// A click that changed nothing still counts when it hit the current row.
void HostedWindow::FinishClick(NativeControl& native) {
  if (!native.clickPending) return;
  native.clickPending = false;
  if (closed_ || host_.reflecting() || native.clickRaised || native.clickRow < 0) return;
  int current = native.kind == NativeKind::ReportView ? native.listView().ListIndex()
                                                      : native.listBox().ListIndex();
  if (native.clickRow == current) RaiseClick(native);
}

}  // namespace qel::win32

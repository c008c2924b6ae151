// Window messages: routing to the object, keyboard, notifications, colours,
// activation and teardown.
#include "ui/win32/host_util.h"
#include "ui/win32/hosted_window.h"

namespace qel::win32 {

bool HostedWindow::PressCancel() {
  for (NativeControl& c : controls_) {
    if (c.kind != NativeKind::Button || !static_cast<ui::Button*>(c.model)->isCancel) continue;
    if (IsWindowEnabled(c.hwnd) && IsWindowVisible(c.hwnd)) {
      RaiseClick(c);
      return true;
    }
  }
  return false;
}

// Enter: the focused push button if there is one, else the default button.
NativeControl* HostedWindow::EnterTarget() {
  NativeControl* focused = FindByHwnd(GetFocus());
  if (focused && focused->kind == NativeKind::Button) return focused;
  for (NativeControl& c : controls_)
    if (c.kind == NativeKind::Button && static_cast<ui::Button*>(c.model)->isDefault &&
        IsWindowEnabled(c.hwnd) && IsWindowVisible(c.hwnd))
      return &c;
  return nullptr;
}

LRESULT CALLBACK HostedWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  HostedWindow* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<HostedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<HostedWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  MessageScope scope(self->host_);
  return self->Handle(msg, wp, lp);
}

LRESULT HostedWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      NativeControl* native = FindByHwnd(reinterpret_cast<HWND>(lp));
      if (native) {
        OnCommand(*native, HIWORD(wp));
      } else if (LOWORD(wp) == IDOK) {
        // Enter, sent by the dialog manager when it found no default button.
        if (NativeControl* target = EnterTarget()) RaiseClick(*target);
      } else if (LOWORD(wp) == IDCANCEL) {
        PressCancel();
      }
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // Tab (the host's loop), or a multi-line edit under the dialog manager,
      // asks for this; only DefDlgProc would answer it for us.
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : NextTabStop(GetFocus(), wp != 0);
      if (!target) return 0;
      SetFocus(target);
      if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(target, EM_SETSEL, 0, -1);
      return 0;
    }
    case DM_GETDEFID: {
      NativeControl* target = EnterTarget();
      return target ? MAKELRESULT(target->id, DC_HASDEFID) : 0;
    }
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      NativeControl* native = FindByHwnd(header->hwndFrom);
      if (!native) break;
      if (header->code == NM_CUSTOMDRAW) return rows::CustomDraw(*native, lp);
      if (header->code == LVN_ITEMCHANGED)
        OnListChanged(*native, *reinterpret_cast<const NMLISTVIEW*>(lp));
      else if (header->code == NM_CLICK)
        FinishClick(*native);
      return 0;
    }
    case kRestoreSelection:
      for (NativeControl& c : controls_)
        if (c.id == int(wp) && c.hwnd && SendMessageA(c.hwnd, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
          ReflectScope reflecting(host_);
          rows::SyncCurrent(c);
        }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_ACTIVATE:
      // A plain window does not keep its focused control across activation.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focusWhenInactive_ = focus;
        deactivated_ = true;
      } else if (!HIWORD(wp)) {
        // Back from another window of the program: a form activation. Not
        // from a message box, nor from another program.
        HWND from = reinterpret_cast<HWND>(lp);
        if (deactivated_ && from && from != hwnd_ && model_ && host_.IsHostedWindow(from))
          model_->Form_Activate();
        if (closed_) return 0;
        HWND target = focusWhenInactive_;
        if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
          target = NextTabStop(nullptr, false);
        if (target) SetFocus(target);
      }
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DESTROY:
      closed_ = true;
      // Let go of the model now: a window shown modally from a local object
      // is gone before this entry is dropped.
      if (model_) model_->SetObserver(nullptr);
      model_ = nullptr;
      if (modalOwner && IsWindow(modalOwner)) EnableWindow(modalOwner, TRUE);
      if (endsProgram_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      for (NativeControl& c : controls_) {
        if (c.backBrush) DeleteObject(c.backBrush);
        c.backBrush = nullptr;
        c.hwnd = nullptr;
      }
      if (font_) DeleteObject(font_);
      font_ = nullptr;
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT HostedWindow::ControlColor(UINT msg, HDC dc, HWND control) {
  LRESULT brush = DefWindowProcA(hwnd_, msg, WPARAM(dc), LPARAM(control));
  NativeControl* native = FindByHwnd(control);
  if (!native) return brush;
  const ui::Control& m = *native->model;
  if (m.foreColor.kind != ui::Color::Kind::Default) SetTextColor(dc, Resolve(m.foreColor));
  if (m.backColor.kind == ui::Color::Kind::Default) return brush;
  COLORREF back = Resolve(m.backColor);
  SetBkColor(dc, back);
  if (!native->backBrush) native->backBrush = CreateSolidBrush(back);
  return reinterpret_cast<LRESULT>(native->backBrush);
}

}  // namespace qel::win32

#include "ui/win32/hosted_window.h"

#include <algorithm>
#include <string>

#include "ui/win32/host_util.h"

namespace qel::win32 {
namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

NativeKind KindOf(const ui::Control& control) {
  switch (control.kind()) {
    case ui::ControlKind::Button:
      return NativeKind::Button;
    case ui::ControlKind::CheckBox:
      return NativeKind::CheckBox;
    case ui::ControlKind::Label:
      return NativeKind::Label;
    case ui::ControlKind::TextBox:
      return NativeKind::Edit;
    case ui::ControlKind::Frame:
      return NativeKind::Frame;
    case ui::ControlKind::ListView:
      return NativeKind::ReportView;
    case ui::ControlKind::ListBox:
      return static_cast<const ui::ListBox&>(control).checkBoxes() ? NativeKind::CheckList
                                                                   : NativeKind::ListBox;
  }
  return NativeKind::Label;
}

int Depth(const ui::Control& control) {
  int depth = 0;
  for (const ui::Control* c = control.container(); c; c = c->container()) ++depth;
  return depth;
}

}  // namespace

HostedWindow::HostedWindow(Win32Host& host, ui::Window& model, bool endsProgram)
    : host_(host), model_(&model), endsProgram_(endsProgram) {}

HostedWindow::~HostedWindow() {
  endsProgram_ = false;
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (model_) model_->SetObserver(nullptr);
}

bool HostedWindow::Create(HWND owner) {
  HDC screen = GetDC(nullptr);
  dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
  dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  // The captions are GBK text: ask for the Chinese system font by its
  // GBK name, and let the font mapper pick any GB2312 face if it is absent.
  font_ = CreateFontA(-MulDiv(9, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, GetACP() == 936 ? "\xCB\xCE\xCC\xE5" : "SimSun");

  // A fixed border with a minimise box and the close box.
  // No WS_CLIPCHILDREN: frames are transparent and the window paints their inside.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, TwipsX(model_->clientWidth), TwipsY(model_->clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (model_->centered) {
    x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  }
  RECT over;
  if (model_->centerOnOwner && owner && GetWindowRect(owner, &over)) {
    x = std::max(0, int(over.left + over.right - width) / 2);
    y = std::max(0, int(over.top + over.bottom - height) / 2);
  }
  HWND created = CreateWindowExA(0, kWindowClass, model_->caption().c_str(), style, x, y, width,
                                 height, owner, nullptr, host_.instance(), this);
  if (!created) return false;

  ReflectScope reflecting(host_);
  CreateControls();
  model_->SetObserver(this);
  return true;
}

void HostedWindow::CreateControls() {
  const std::vector<ui::Control*>& models = model_->controls();
  controls_.reserve(models.size());
  for (size_t i = 0; i < models.size(); ++i) {
    NativeControl native;
    native.owner = this;
    native.model = models[i];
    native.kind = KindOf(*models[i]);
    native.id = kFirstControlId + int(i);
    controls_.push_back(native);
  }

  // Creation order is z-order, top first, and the dialog manager walks tab
  // stops in z-order: tab stops by tab index, then the other controls, then
  // frames (inner before outer) so that they lie beneath what they hold.
  std::vector<NativeControl*> order;
  for (NativeControl& c : controls_) order.push_back(&c);
  auto rank = [](const NativeControl* c) {
    if (c->model->tabIndex >= 0) return 0;
    return c->kind == NativeKind::Frame ? 2 : 1;
  };
  std::stable_sort(order.begin(), order.end(), [&](const NativeControl* a, const NativeControl* b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    if (rank(a) == 0) return a->model->tabIndex < b->model->tabIndex;
    if (rank(a) == 2) return Depth(*a->model) > Depth(*b->model);
    return false;
  });
  for (NativeControl* c : order) CreateControl(*c);
}

// After the first paint: nobody can hover over a control before it is seen.
void HostedWindow::CreateTooltips() {
  if (tooltip_) return;
  tooltip_ =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, host_.instance(), nullptr);
  if (tooltip_) {
    SendMessageA(tooltip_, WM_SETFONT, WPARAM(font_), FALSE);
    for (const NativeControl& c : controls_)
      if (c.hwnd && !c.model->tooltip.empty()) AddTooltip(c);
  }
}

void HostedWindow::CreateControl(NativeControl& native) {
  const ui::Control& m = *native.model;
  int left = m.rect().left, top = m.rect().top;
  for (const ui::Control* c = m.container(); c; c = c->container()) {
    left += c->rect().left;
    top += c->rect().top;
  }

  DWORD style = WS_CHILD | WS_CLIPSIBLINGS, exStyle = 0;
  if (m.visible()) style |= WS_VISIBLE;
  if (!m.enabled()) style |= WS_DISABLED;
  // Each tab stop is a group of its own, so arrow keys never move the focus.
  if (m.tabIndex >= 0) style |= WS_TABSTOP | WS_GROUP;
  const char* windowClass = "STATIC";
  std::string text = m.text();
  switch (native.kind) {
    case NativeKind::Button:
      windowClass = "BUTTON";
      style |= static_cast<const ui::Button&>(m).isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case NativeKind::CheckBox:
      windowClass = "BUTTON";
      style |= BS_AUTOCHECKBOX | BS_MULTILINE;
      break;
    case NativeKind::Frame:
      windowClass = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    case NativeKind::Label:
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case NativeKind::Edit:
      windowClass = "EDIT";
      exStyle |= WS_EX_CLIENTEDGE;
      style |= m.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
      if (m.multiLine && m.scrollBar) style |= WS_VSCROLL;
      break;
    case NativeKind::ListBox:
      windowClass = "LISTBOX";
      exStyle |= WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      text.clear();
      break;
    case NativeKind::CheckList:
      windowClass = WC_LISTVIEWA;
      exStyle |= WS_EX_CLIENTEDGE;
      style |= LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      text.clear();
      break;
    case NativeKind::ReportView:
      windowClass = WC_LISTVIEWA;
      exStyle |= WS_EX_CLIENTEDGE;
      style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      text.clear();
      break;
  }
  native.hwnd =
      CreateWindowExA(exStyle, windowClass, text.c_str(), style, TwipsX(left), TwipsY(top),
                      TwipsX(m.rect().width), TwipsY(m.rect().height), hwnd_,
                      reinterpret_cast<HMENU>(INT_PTR(native.id)), host_.instance(), nullptr);
  if (!native.hwnd) return;
  SendMessageA(native.hwnd, WM_SETFONT, WPARAM(font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  if (native.kind == NativeKind::CheckBox)
    SendMessageA(native.hwnd, BM_SETCHECK, static_cast<const ui::CheckBox&>(m).value(), 0);
  if (!native.IsList()) return;

  // The control's user data, not a window property: Wine answers GetPropA
  // through its server, which made every row of a long list cost a round trip.
  SetWindowLongPtrA(native.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&native));
  native.baseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(native.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
  if (native.kind == NativeKind::CheckList) {
    SendMessageA(native.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    RECT client;
    GetClientRect(native.hwnd, &client);
    // Leave room for the vertical scroll bar so a long list never scrolls sideways.
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(native.hwnd, LVM_INSERTCOLUMNA, 0, LPARAM(&column));
  } else if (native.kind == NativeKind::ReportView) {
    SendMessageA(native.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    rows::SetColumns(native, dpiX_);
  }
  if (native.kind != NativeKind::ListBox) {
    // List views do not ask their parent for colours.
    if (m.foreColor.kind != ui::Color::Kind::Default)
      SendMessageA(native.hwnd, LVM_SETTEXTCOLOR, 0, LPARAM(Resolve(m.foreColor)));
    if (m.backColor.kind != ui::Color::Kind::Default) {
      SendMessageA(native.hwnd, LVM_SETBKCOLOR, 0, LPARAM(Resolve(m.backColor)));
      SendMessageA(native.hwnd, LVM_SETTEXTBKCOLOR, 0, LPARAM(Resolve(m.backColor)));
    }
  }
  if (m.visible()) LoadRows(native);
}

void HostedWindow::AddTooltip(const NativeControl& native) {
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;  // the size the oldest comctl32 accepts
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(native.hwnd);
  tool.lpszText = const_cast<char*>(native.model->tooltip.c_str());
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, LPARAM(&tool));
}

void HostedWindow::UpdateTooltip(const NativeControl& native) {
  if (!tooltip_) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(native.hwnd);
  SendMessageA(tooltip_, TTM_DELTOOLA, 0, LPARAM(&tool));
  if (!native.model->tooltip.empty()) AddTooltip(native);
}

void HostedWindow::LoadRows(NativeControl& native) {
  ReflectScope reflecting(host_);
  rows::RemoveAll(native);
  native.rowsLoaded = true;
  rows::AppendFromModel(native);
  rows::SyncCurrent(native);
}

void HostedWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  CreateTooltips();
  SetForegroundWindow(hwnd_);
  if (NativeControl* first = FirstTabStop()) SetFocus(first->hwnd);
  if (model_ && !closed_) model_->Form_Activate();
}

void HostedWindow::Unload() {
  if (unloading_ || closed_) return;
  unloading_ = true;
  if (model_) model_->Form_Unload();
  if (closed_) return;
  // Re-enable the owner first, or Windows activates some other program's window.
  if (modalOwner) EnableWindow(modalOwner, TRUE);
  DestroyWindow(hwnd_);
}

HWND HostedWindow::NativeControlOf(const ui::Control& control) const {
  for (const NativeControl& c : controls_)
    if (c.model == &control) return c.hwnd;
  return nullptr;
}

NativeControl* HostedWindow::FindByHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (NativeControl& c : controls_)
    if (c.hwnd == hwnd) return &c;
  return nullptr;
}

NativeControl* HostedWindow::FindByModel(const ui::Control& control) {
  for (NativeControl& c : controls_)
    if (c.model == &control) return &c;
  return nullptr;
}

NativeControl* HostedWindow::FirstTabStop() {
  NativeControl* first = nullptr;
  for (NativeControl& c : controls_) {
    const ui::Control& m = *c.model;
    if (m.tabIndex < 0 || !m.visible() || !m.enabled() || !c.hwnd) continue;
    if (!first || m.tabIndex < first->model->tabIndex) first = &c;
  }
  return first;
}

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
      // A multi-line edit under the dialog manager asks for this on Tab; only
      // DefDlgProc would answer it for us.
      HWND target =
          LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
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
        if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
          NativeControl* first = FirstTabStop();
          target = first ? first->hwnd : nullptr;
        }
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

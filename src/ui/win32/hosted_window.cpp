// Creation and layout of a hosted window and its native controls, showing
// and unloading it, and finding a native control by handle or model.
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

  // Creation order is z-order, top first, and siblings clip each other in
  // it: the layout's order, so that where two controls overlap the one the
  // layout puts on top is drawn whole. Frames go beneath everything (inner
  // before outer), as they hold the rest. Tab follows the tab indexes, not
  // the z-order (NextTabStop).
  std::vector<NativeControl*> order;
  for (NativeControl& c : controls_) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const NativeControl* a, const NativeControl* b) {
    const bool frameA = a->kind == NativeKind::Frame, frameB = b->kind == NativeKind::Frame;
    if (frameA != frameB) return frameB;
    return frameA && Depth(*a->model) > Depth(*b->model);
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
  // Every control is a group of its own, so arrow keys never move the focus.
  style |= WS_GROUP;
  if (m.tabIndex >= 0) style |= WS_TABSTOP;
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
  if (HWND first = NextTabStop(nullptr, false)) SetFocus(first);
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

HWND HostedWindow::NextTabStop(HWND from, bool previous) {
  const NativeControl* at = FindByHwnd(from);
  const int here = at ? at->model->tabIndex : -1;
  // The nearest stop after (before) here in tab order, else the first (last).
  NativeControl *closest = nullptr, *wrap = nullptr;
  for (NativeControl& c : controls_) {
    const ui::Control& m = *c.model;
    if (m.tabIndex < 0 || !m.visible() || !m.enabled() || !c.hwnd || &c == at) continue;
    const int t = m.tabIndex;
    const bool beyond = previous ? (here >= 0 && t < here) : t > here;
    NativeControl*& slot = beyond ? closest : wrap;
    if (!slot || (previous ? t > slot->model->tabIndex : t < slot->model->tabIndex)) slot = &c;
  }
  const NativeControl* next = closest ? closest : wrap;
  return next ? next->hwnd : nullptr;
}

}  // namespace qel::win32

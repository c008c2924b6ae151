#include "ui/win32/win32_host.h"

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "ui/win32/hosted_window.h"

namespace qel::win32 {

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance) {
  InitCommonControls();
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &HostedWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  if (!windowClass.hIcon) windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when a second host registers it again
}

Win32Host::~Win32Host() { windows_.clear(); }

HostedWindow* Win32Host::Find(const ui::Window& window) const {
  for (const auto& hosted : windows_)
    if (!hosted->closed() && hosted->model() == &window) return hosted.get();
  return nullptr;
}

HostedWindow* Win32Host::FindByHwnd(HWND hwnd) const {
  for (const auto& hosted : windows_)
    if (!hosted->closed() && hosted->hwnd() == hwnd) return hosted.get();
  return nullptr;
}

void Win32Host::DropClosedWindows() {
  if (messageDepth_ > 0) return;
  for (size_t i = windows_.size(); i-- > 0;)
    if (windows_[i]->closed()) windows_.erase(windows_.begin() + std::ptrdiff_t(i));
}

HostedWindow* Win32Host::Build(ui::Window& window, HWND owner, bool endsProgram) {
  DropClosedWindows();
  windows_.push_back(std::make_unique<HostedWindow>(*this, window, endsProgram));
  HostedWindow* hosted = windows_.back().get();
  if (!hosted->Create(owner)) {
    windows_.pop_back();
    return nullptr;
  }
  return hosted;
}

void Win32Host::LoadAndShow(HostedWindow& hosted) {
  hosted.model()->Form_Load();
  if (!hosted.closed()) hosted.Show();  // Form_Load may have unloaded it
}

int Win32Host::Run(ui::Window& main) {
  HostedWindow* hosted = Build(main, nullptr, /*endsProgram=*/true);
  if (!hosted) return 1;
  LoadAndShow(*hosted);
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  DropClosedWindows();
  return int(msg.wParam);
}

void Win32Host::Open(ui::Window& window) {
  if (Find(window)) return;
  if (HostedWindow* hosted = Build(window, nullptr, /*endsProgram=*/false)) LoadAndShow(*hosted);
}

void Win32Host::Close(ui::Window& window) { Unload(window); }

void Win32Host::Unload(ui::Window& window) {
  if (HostedWindow* hosted = Find(window)) hosted->Unload();
}

void Win32Host::ShowModal(ui::Window& window) {
  if (HostedWindow* open = Find(window)) {
    SetForegroundWindow(open->hwnd());
    return;
  }
  HWND owner = GetActiveWindow();
  if (!FindByHwnd(owner)) {
    owner = nullptr;
    for (const auto& hosted : windows_)
      if (!hosted->closed()) owner = hosted->hwnd();
  }
  HostedWindow* hosted = Build(window, owner, /*endsProgram=*/false);
  if (!hosted) return;
  hosted->modalOwner = owner;
  if (owner) EnableWindow(owner, FALSE);
  LoadAndShow(*hosted);
  MSG msg = {};
  while (!hosted->closed()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // the outer loop must see it too
      break;
    }
    if (got < 0) break;
    Dispatch(msg);
  }
  if (owner && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

void Win32Host::DoEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
}

void Win32Host::Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (HostedWindow* hosted = root ? FindByHwnd(root) : nullptr) {
    // Esc belongs to the cancel button; handled here because a multi-line
    // edit under the dialog manager would close the window on Esc.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      hosted->PressCancel();
      return;
    }
    // The dialog manager would walk the z-order, which is the layout's
    // stacking, not the tab order.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
      SendMessageA(root, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, 0);
      return;
    }
    if (IsDialogMessageA(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int Win32Host::MessageBox(const std::string& text, int flags, const std::string& title) {
  std::string shown = title.empty() ? std::string(ui::kApplicationTitle) : title;
  if (messageBoxHook) return messageBoxHook(text, flags, shown);
  return MessageBoxA(GetActiveWindow(), text.c_str(), shown.c_str(), UINT(flags));
}

void Win32Host::EndProgram() { ExitProcess(0); }

std::uintptr_t Win32Host::NativeHandle(const ui::Window& window) {
  return reinterpret_cast<std::uintptr_t>(NativeWindow(window));
}

HWND Win32Host::NativeWindow(const ui::Window& window) const {
  HostedWindow* hosted = Find(window);
  return hosted ? hosted->hwnd() : nullptr;
}

HWND Win32Host::NativeControl(const ui::Control& control) const {
  HostedWindow* hosted = Find(control.window());
  return hosted ? hosted->NativeControlOf(control) : nullptr;
}

}  // namespace qel::win32

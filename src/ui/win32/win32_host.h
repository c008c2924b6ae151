// Shows ui::Window models as real Win32 windows: the one place that creates
// windows, turns native notifications into model events and reflects model
// changes back onto the screen.
#pragma once

#include <windows.h>

// windows.h maps MessageBox to MessageBoxA; the host interface means its own.
#undef MessageBox

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/host.h"

namespace qel::win32 {

class HostedWindow;

class Win32Host : public ui::Host {
 public:
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // Builds main, loads it, shows it and runs the message loop until main is
  // gone. Returns the quit code.
  int Run(ui::Window& main);

  // Builds, loads and shows window without entering a message loop (for tests
  // that drive it with messages and pump with DoEvents). Closing it does not
  // end the message loop.
  void Open(ui::Window& window);
  // As the window's close box: Form_Unload, then the window goes.
  void Close(ui::Window& window);

  int MessageBox(const std::string& text, int flags, const std::string& title = {}) override;
  void ShowModal(ui::Window& window) override;
  void Unload(ui::Window& window) override;
  void DoEvents() override;
  void EndProgram() override;
  std::uintptr_t NativeHandle(const ui::Window& window) override;

  HWND NativeWindow(const ui::Window& window) const;
  // Whether hwnd is one of the open windows this host built.
  bool IsHostedWindow(HWND hwnd) const { return FindByHwnd(hwnd) != nullptr; }
  HWND NativeControl(const ui::Control& control) const;

  // When set, answers message boxes instead of showing them.
  std::function<int(const std::string& text, int flags, const std::string& title)> messageBoxHook;

  HINSTANCE instance() const { return instance_; }
  // True while the host writes to native controls: their notifications are
  // the host's own doing and must not reach the models as user events.
  bool reflecting() const { return reflecting_ > 0; }
  void BeginReflect() { ++reflecting_; }
  void EndReflect() { --reflecting_; }
  // Closed windows are freed only when none of their handlers is running.
  void EnterMessage() { ++messageDepth_; }
  void LeaveMessage() { --messageDepth_; }

 private:
  HostedWindow* Find(const ui::Window& window) const;
  HostedWindow* FindByHwnd(HWND hwnd) const;
  HostedWindow* Build(ui::Window& window, HWND owner, bool endsProgram);
  void LoadAndShow(HostedWindow& hosted);
  void DropClosedWindows();
  // Routes one message through the dialog keyboard interface of its window.
  void Dispatch(MSG& msg);

  HINSTANCE instance_;
  int reflecting_ = 0;
  int messageDepth_ = 0;
  std::vector<std::unique_ptr<HostedWindow>> windows_;
};

}  // namespace qel::win32

// One top-level window built from a ui::Window: its native controls, its
// message handling, and the reflection of model changes onto the screen.
#pragma once

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <vector>

#include "ui/controls.h"
#include "ui/win32/native_control.h"

namespace qel::win32 {

class Win32Host;

// The window class every hosted top-level window belongs to.
inline const char kWindowClass[] = "QelmoraWindow";

class HostedWindow : public ui::ControlObserver {
 public:
  HostedWindow(Win32Host& host, ui::Window& model, bool endsProgram);
  ~HostedWindow() override;
  HostedWindow(const HostedWindow&) = delete;
  HostedWindow& operator=(const HostedWindow&) = delete;

  // Creates the window and its controls, hidden, and starts observing the
  // model. owner is disabled while a modal window is open over it.
  bool Create(HWND owner);
  // Shows the window and puts the focus on the first tab stop.
  void Show();
  // Form_Unload once, then the window goes.
  void Unload();

  HWND hwnd() const { return hwnd_; }
  ui::Window* model() const { return model_; }
  bool closed() const { return closed_; }
  HWND modalOwner = nullptr;
  HWND NativeControlOf(const ui::Control& control) const;

  // Keyboard handling the dialog manager does not do for a plain window.
  bool PressCancel();
  // The tab stop after (before) from in tab-index order, wrapping round; from
  // null: the first.
  HWND NextTabStop(HWND from, bool previous);

  // ui::ControlObserver
  void OnControlChanged(ui::Control& control, ui::ChangeKind change, int row) override;
  void OnCaptionChanged(ui::Window& window) override;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void CreateControl(NativeControl& native);
  void CreateTooltips();
  void AddTooltip(const NativeControl& native);
  void UpdateTooltip(const NativeControl& native);
  NativeControl* FindByHwnd(HWND hwnd);
  NativeControl* FindByModel(const ui::Control& control);

  // Native → model.
  void OnCommand(NativeControl& native, int code);
  void OnListChanged(NativeControl& native, const NMLISTVIEW& change);
  void OnSelectionLost(NativeControl& native, int row);
  // Posted to give a check list its highlight back; wParam: the control's id.
  static constexpr UINT kRestoreSelection = WM_APP + 1;
  void RaiseClick(NativeControl& native);
  NativeControl* EnterTarget();
  LRESULT ListMessage(NativeControl& native, UINT msg, WPARAM wp, LPARAM lp);
  void FinishClick(NativeControl& native);
  LRESULT ControlColor(UINT msg, HDC dc, HWND control);

  // Model → native.
  void Reflect(NativeControl& native, ui::ChangeKind change, int row);
  void ReflectRows(NativeControl& native, ui::ChangeKind change, int row);
  void LoadRows(NativeControl& native);

  int TwipsX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
  int TwipsY(int twips) const { return MulDiv(twips, dpiY_, 1440); }

  Win32Host& host_;
  ui::Window* model_;
  bool endsProgram_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HWND focusWhenInactive_ = nullptr;
  int dpiX_ = 96, dpiY_ = 96;
  bool unloading_ = false;
  // Show raises the first activation; later ones come after a deactivation,
  // which Windows may report late.
  bool deactivated_ = false;
  bool closed_ = false;
  std::vector<NativeControl> controls_;  // reserved once: addresses stay put
};

}  // namespace qel::win32

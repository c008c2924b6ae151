// Small helpers shared by the host's window code.
#pragma once

// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>

#include "ui/controls.h"
#include "ui/win32/win32_host.h"

namespace qel::win32 {

constexpr UINT kCheckedImage = INDEXTOSTATEIMAGEMASK(2);

// Marks the host as writing to native controls for one scope.
class ReflectScope {
 public:
  explicit ReflectScope(Win32Host& host) : host_(host) { host_.BeginReflect(); }
  ~ReflectScope() { host_.EndReflect(); }

 private:
  Win32Host& host_;
};

// Counts nested message handling so that closed windows are freed only
// when no handler of theirs is on the stack.
class MessageScope {
 public:
  explicit MessageScope(Win32Host& host) : host_(host) { host_.EnterMessage(); }
  ~MessageScope() { host_.LeaveMessage(); }

 private:
  Win32Host& host_;
};

inline COLORREF Resolve(const ui::Color& color) {
  return color.kind == ui::Color::Kind::System ? GetSysColor(int(color.value))
                                               : COLORREF(color.value);
}

inline std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(size_t(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

inline int CheckValue(LRESULT state) {
  return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

}  // namespace qel::win32

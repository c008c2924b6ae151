// What a window needs from whoever shows it: message boxes, modal windows,
// letting pending messages run, ending the program.
#pragma once

#include <cstdint>
#include <string>

// windows.h maps MessageBox to MessageBoxA; here it names the host's own.
#ifdef MessageBox
#undef MessageBox
#endif

namespace qel::ui {

class Window;

// Buttons and icons as MessageBox takes them; answers as it returns them.
constexpr int kMbOk = 0x0;
constexpr int kMbYesNo = 0x4;
constexpr int kMbIconError = 0x10;
constexpr int kMbIconQuestion = 0x20;
constexpr int kMbIconWarning = 0x30;
constexpr int kMbIconInformation = 0x40;
constexpr int kMbDefButton2 = 0x100;  // the second button (No) holds the focus
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// The title a message box shows when it is given none.
inline const char kApplicationTitle[] = "Qelmora";

class Host {
 public:
  virtual ~Host() = default;

  // text and title are ANSI bytes; an empty title shows kApplicationTitle.
  virtual int MessageBox(const std::string& text, int flags, const std::string& title = {}) = 0;
  // Loads (Form_Load) and shows window modally; returns when it closes.
  virtual void ShowModal(Window& window) = 0;
  // Closes window (Form_Unload runs); the program ends with its last window.
  virtual void Unload(Window& window) = 0;
  // Runs the messages waiting in the queue, then returns.
  virtual void DoEvents() = 0;
  // Ends the process at once: no unload handling runs.
  virtual void EndProgram() = 0;
  // The native handle of window (0 when it has none), for shell calls.
  virtual std::uintptr_t NativeHandle(const Window& window) = 0;
};

}  // namespace qel::ui

// A host that shows nothing: it records message boxes and answers them as told,
// and notes the end of the program.
#pragma once

#include <vector>

#include "ui/controls.h"
#include "ui/host.h"

namespace qel::test {

class RecordingHost : public ui::Host {
 public:
  int MessageBox(const std::string& text, int flags, const std::string&) override {
    boxes.push_back(text);
    lastFlags = flags;
    return answer ? answer : (flags & ui::kMbYesNo) ? ui::kIdYes : ui::kIdOk;
  }
  void ShowModal(ui::Window& window) override { window.Form_Load(); window.Form_Activate(); }
  void Unload(ui::Window& window) override { window.Form_Unload(); }
  void DoEvents() override {}
  void EndProgram() override { ended = true; }
  std::uintptr_t NativeHandle(const ui::Window&) override { return 0x10020; }

  std::vector<std::string> boxes;
  int answer = 0;  // what every box is answered; 0: Yes to a question, else OK
  bool ended = false;
  int lastFlags = 0;  // of the last box
};

}  // namespace qel::test

// A host that shows nothing: it records message boxes and answers them from a
// script, and notes modal windows, unloads and the end of the program.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/host.h"

namespace qel::test {

class RecordingHost : public ui::Host {
 public:
  struct Box {
    std::string text;
    int flags;
    std::string title;  // as shown: the application title when none was given
  };

  int MessageBox(const std::string& text, int flags, const std::string& title) override {
    boxes.push_back({text, flags, title.empty() ? std::string(ui::kApplicationTitle) : title});
    if (!answers.empty()) {
      int answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return (flags & ui::kMbYesNo) ? ui::kIdYes : ui::kIdOk;
  }
  void ShowModal(ui::Window& window) override {
    modals.push_back(&window);
    window.Form_Load();
    window.Form_Activate();
  }
  void Unload(ui::Window& window) override {
    unloaded.push_back(&window);
    window.Form_Unload();
  }
  void DoEvents() override { ++doEvents; }
  void EndProgram() override { ended = true; }
  std::uintptr_t NativeHandle(const ui::Window&) override { return kHandle; }

  static constexpr std::uintptr_t kHandle = 0x10020;
  std::vector<Box> boxes;
  std::deque<int> answers;
  std::vector<ui::Window*> modals;
  std::vector<ui::Window*> unloaded;
  int doEvents = 0;
  bool ended = false;
};

}  // namespace qel::test

// Windows on a memory machine with a recording host.
#pragma once

#include "app/form1.h"
#include "support/recording_host.h"
#include "support/startup_machine.h"

namespace qel::test {

class MachineTest : public ::testing::Test {
 protected:
  StartupMachine machine;
  RecordingHost host;

  // A file's bytes, or "(none)".
  std::string File(const std::string& path) {
    std::string bytes = "(none)";
    return machine.files.FileBytes(path, &bytes), bytes;
  }
  std::string LastMessage() const { return host.boxes.empty() ? "" : host.boxes.back(); }
};

// Form1 on the machine.
class Form1Test : public MachineTest {
 protected:
  std::unique_ptr<Form1> form;

  // Builds the window and runs its load sequence on the machine as seeded.
  void Load() {
    form = std::make_unique<Form1>(machine.platform, host);
    form->Form_Load();
  }
  // The row of a display name (GBK), or -1.
  int RowOf(const std::string& name) const {
    for (int i = 0; i < form->List1.ListCount(); ++i)
      if (form->List1.List(i) == name) return i;
    return -1;
  }
  // Selects row i as a click would.
  void Click(int i) { form->List1.SetListIndex(i); form->List1_Click(); }
  // Every row as "name|command line|tag|1 or 0", one a line.
  std::string AllRows() const {
    std::string out;
    for (int i = 0; i < form->List1.ListCount(); ++i)
      out += form->List1.List(i) + "|" + form->List4.List(i) + "|" + form->List5.List(i) + "|" +
             "01"[form->List1.Selected(i)] + "\n";
    return out;
  }
};

}  // namespace qel::test

// Form1 on a memory machine with a recording host.
#pragma once

#include "app/form1.h"
#include "support/recording_host.h"
#include "support/startup_machine.h"

namespace qel::test {

class Form1Test : public ::testing::Test {
 protected:
  StartupMachine machine;
  RecordingHost host;
  std::unique_ptr<Form1> form;

  // Builds the window and runs its load sequence on the machine as seeded.
  Form1& Load() {
    form = std::make_unique<Form1>(machine.platform, host);
    form->Form_Load();
    return *form;
  }
  // The row of a display name (GBK), or -1.
  int RowOf(const std::string& name) const {
    for (int i = 0; i < form->List1.ListCount(); ++i)
      if (form->List1.List(i) == name) return i;
    return -1;
  }
  // Selects row i as a click would.
  void Click(int i) { form->List1.SetListIndex(i); form->List1_Click(); }
  // Row i as "name|command line|tag|1 or 0".
  std::string RowText(int i) const {
    return form->List1.List(i) + "|" + form->List4.List(i) + "|" + form->List5.List(i) + "|" +
           (form->List1.Selected(i) ? "1" : "0");
  }
  // Every row, one RowText a line.
  std::string AllRows() const {
    std::string out;
    for (int i = 0; i < form->List1.ListCount(); ++i) out += RowText(i) + "\n";
    return out;
  }
  std::string LastMessage() const { return host.boxes.empty() ? "" : host.boxes.back().text; }
};

}  // namespace qel::test

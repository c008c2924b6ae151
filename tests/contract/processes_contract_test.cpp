// The process snapshot and termination.
#include <chrono>
#include <thread>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

class Processes : public ContractTest {
 protected:
  ProcessApi& processes() { return machine_->platform().processes; }
  // The name the snapshot gives id, or "(none)"; waits a while for a
  // terminated process to leave the list.
  std::string NameOf(std::uint32_t id, bool waitForEnd = false) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      std::vector<ProcessEntry> list;
      EXPECT_EQ(kOk, processes().Snapshot(&list));
      std::string name = "(none)";
      for (const ProcessEntry& p : list)
        if (p.id == id) name = p.exeName;
      if (!waitForEnd || name == "(none)") return name;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "still running";
  }
};

TEST_F(Processes, AStartedProcessIsListedAsNamedAndGoesWhenTerminated) {
  EXPECT_NE("(none)", NameOf(processes().CurrentProcessId()));
  std::uint32_t id = machine_->StartProcess("QelChild.EXE");
  ASSERT_NE(0u, id);
  EXPECT_EQ("QelChild.EXE", NameOf(id));
  EXPECT_EQ(kOk, processes().Terminate(id));
  EXPECT_EQ("(none)", NameOf(id, /*waitForEnd=*/true));
  EXPECT_EQ(kInvalidParameter, processes().Terminate(0x7FFFFFF0));
}

}  // namespace
}  // namespace qel::test

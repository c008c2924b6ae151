// The process monitor's fill on the in-memory platform.
#include "../common/process_bench.h"
#include "platform/memory/memory_platform.h"
#include "support/recording_host.h"

using namespace qel;

int main() {
  mem::MemoryPlatform machine;
  machine.processes.table = bench::ManyProcesses();
  bench::WriteProcessFiles(machine.platform, "C:\\WINDOWS\\SYSTEM");
  test::RecordingHost host;
  Form5 form(machine.platform, host, "C:\\WINDOWS\\SYSTEM");
  form.Form_Load();
  double ms = bench::TimeFill(form);
  bench::ReportFill("memory", form, ms);
  return 0;
}

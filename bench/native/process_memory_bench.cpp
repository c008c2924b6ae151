// The process monitor on the in-memory platform: the fill at scale, and the
// window's opening over a planted list or notes file of bare line feeds.
#include "../common/heap_meter.h"
#include "../common/process_bench.h"
#include "platform/memory/memory_platform.h"
#include "support/recording_host.h"

using namespace qel;

namespace {

// Opening time and heap peak with one file replaced by 10 MB of line feeds.
void OpenOverPlantedFile(const char* file) {
  mem::MemoryPlatform machine;
  machine.processes.table = bench::ManyProcesses();
  bench::WriteProcessFiles(machine.platform, "C:\\WINDOWS\\SYSTEM");
  const std::string path = std::string(file) == "process.dll"
                               ? machine.platform.system.ProgramFolder() + "\\process.dll"
                               : std::string("C:\\WINDOWS\\SYSTEM\\") + file;
  machine.files.WriteFile(path, std::string(10 << 20, '\n'));
  test::RecordingHost host;
  const std::size_t base = bench::heapLive;
  bench::heapPeak = bench::heapLive;
  auto start = std::chrono::steady_clock::now();
  {
    Form5 form(machine.platform, host, "C:\\WINDOWS\\SYSTEM");
    host.ShowModal(form);
    std::printf("open   memory   10 MB of line feeds in %-12s: %.1f ms, heap peak +%.1f MB "
                "over the file, %zu message(s)\n",
                file,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count(),
                (bench::heapPeak - base) / 1048576.0, host.boxes.size());
  }
}

}  // namespace

int main() {
  mem::MemoryPlatform machine;
  machine.processes.table = bench::ManyProcesses();
  bench::WriteProcessFiles(machine.platform, "C:\\WINDOWS\\SYSTEM");
  test::RecordingHost host;
  Form5 form(machine.platform, host, "C:\\WINDOWS\\SYSTEM");
  form.Form_Load();
  double ms = bench::TimeFill(form);
  bench::ReportFill("memory", form, ms);
  for (const char* file : {"process.dll", "morvane5.txt", "morvane4.txt"}) OpenOverPlantedFile(file);
  return 0;
}

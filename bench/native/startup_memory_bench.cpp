// Scan and commit figures on the in-memory platform.
#include "../common/startup_bench.h"
#include "platform/memory/memory_platform.h"

using namespace qel;

int main() {
  const std::string folder = "C:\\WINDOWS\\Start Menu\\Programs\\StartUp";
  {
    mem::MemoryPlatform machine;
    machine.files.AddFolder(folder);
    bench::SeedValues(machine.platform, 10000);
    bench::SeedStartupFolder(machine.platform, folder, 1000);
    int rows = 0;
    double best = 1e9;
    for (int run = 0; run < 5; ++run) best = std::min(best, bench::TimeLoad(machine.platform, &rows));
    std::printf("scan   memory   10000 values in 20 keys + 1000 Startup files: %d rows in %.1f ms (best of 5)\n",
                rows, best);
    std::printf("         of which checking every row's program: %.1f ms\n",
                bench::TimeProgramChecks(machine.platform));
  }
  for (int count : {1000, 10000}) {
    mem::MemoryPlatform machine;
    machine.files.AddFolder(folder);
    bench::SeedValues(machine.platform, count);
    int rows = 0;
    long made = 0;
    auto calls = [](void* m) { return static_cast<mem::MemoryPlatform*>(m)->CallCount(); };
    double ms = bench::TimeCommit(machine.platform, &rows, calls, &machine, &made);
    bench::ReportCommit("memory", rows, ms);
    // The commit's own work is linear: the same number of platform calls per
    // entry at any size. What grows is the cost of one call on a key holding
    // more values (deleting shifts the values after it, as on Windows).
    // Its floor, the bare set and delete per moved entry, is 1 per entry here.
    std::printf("         platform calls of the commit: %.2f per entry (%ld)\n",
                double(made) / rows, made);
  }
  return 0;
}

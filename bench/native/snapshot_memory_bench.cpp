// Memory a snapshot restore takes: the peak of the heap while the three files
// are parsed, beside the bytes of the files themselves.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "../common/heap_meter.h"
#include "startup/snapshot.h"

using qel::bench::heapLive;
using qel::bench::heapPeak;

int main() {
  using namespace qel;
  struct Case {
    const char* what;
    std::string names, commands, tags;
  };
  std::string rows32767[3];
  for (int i = 0; i < kMaxSnapshotRows; ++i) {
    rows32767[0] += "\"entry " + std::to_string(i) + "\",\"True\"\r\n";
    rows32767[1] += "C:\\Program Files\\Tool\\tool" + std::to_string(i) + ".exe /run\r\n";
    rows32767[2] += "reg\r\n";
  }
  const std::string breaks(10 << 20, '\n');
  const Case cases[] = {
      {"32,767 rows (the most a restore takes)", rows32767[0], rows32767[1], rows32767[2]},
      {"10 MB of line breaks in each file", breaks, breaks, breaks},
  };
  for (const Case& c : cases) {
    SnapshotFiles bytes{c.names, c.commands, c.tags};
    std::vector<StartupEntry> rows;
    const std::size_t base = heapLive;
    heapPeak = heapLive;
    auto start = std::chrono::steady_clock::now();
    bool ok = ParseSnapshot(bytes, &rows);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("restore  %-40s files %6.1f MB: %s, %zu rows, heap peak +%.1f MB, %.1f ms\n",
                c.what, (c.names.size() + c.commands.size() + c.tags.size()) / 1048576.0,
                ok ? "accepted" : "refused", rows.size(), (heapPeak - base) / 1048576.0, ms);
  }
  return 0;
}

// The process monitor's fill at scale: 1,000 processes against 1,000 saved
// names, 1,000 trusted names and a notes file of 20,000 lines. Shared by the
// memory benchmark (native) and the Win32 one (under Wine).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "process/form5.h"

namespace qel::bench {

constexpr int kProcesses = 1000;

// Proc0000.EXE ... Proc0999.EXE.
inline std::vector<ProcessEntry> ManyProcesses() {
  std::vector<ProcessEntry> processes;
  for (int i = 0; i < kProcesses; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Proc%04d.EXE", i);
    processes.push_back({std::uint32_t(4 * (i + 1)), name});
  }
  return processes;
}

// Every tenth saved name and every fifth trusted name differs from the
// running ones, so that both comparisons list something.
inline void WriteProcessFiles(Platform& platform, const std::string& systemDirectory) {
  std::string saved, trusted, notes;
  for (int i = 0; i < kProcesses; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%s%04d.exe\r\n", i % 10 ? "proc" : "gone", i);
    saved += line;
    std::snprintf(line, sizeof line, "%s%04d.exe  \r\n", i % 5 ? "proc" : "else", i);
    trusted += line;
  }
  // 4,000 blocks of five lines; the running processes' notes come last.
  for (int i = 0; i < 4000; ++i) {
    char block[160];
    std::snprintf(block, sizeof block,
                  "%s%04d.exe\r\nA note on what this process is.\r\nWho makes it.\r\n"
                  "Where its file lies.\r\n\r\n", i < 3000 ? "note" : "proc", i - 3000);
    notes += block;
  }
  platform.files.WriteFile(systemDirectory + "\\morvane5.txt", saved);
  platform.files.WriteFile(systemDirectory + "\\morvane4.txt", trusted);
  platform.files.WriteFile(platform.system.ProgramFolder() + "\\process.dll", notes);
}

// The fill as an activation runs it, best of five.
inline double TimeFill(Form5& form) {
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    auto start = std::chrono::steady_clock::now();
    form.Form_Activate();
    best = std::min(best, std::chrono::duration<double, std::milli>(
                              std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

inline void ReportFill(const char* where, Form5& form, double ms) {
  std::printf("fill   %-8s %d processes vs 1000 saved, 1000 trusted, 20000 note lines: "
              "%d new, %d untrusted in %.1f ms (best of 5)\n",
              where, form.lvwPrss.ListCount(), form.List3.ListCount(), form.List4.ListCount(), ms);
}

}  // namespace qel::bench

// The scan and the commit on a seeded machine, timed. Shared by the memory
// benchmark (native) and the Win32 one (under Wine).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "app/form1.h"
#include "platform/platform.h"
#include "startup/catalogue.h"
#include "startup/program_file.h"
#include "support/recording_host.h"

namespace qel::bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Removes every value of the twenty managed keys.
inline void ClearManagedKeys(Platform& platform) {
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    RegKey key = 0;
    std::string path = KeyPath(keys[k].source->writePath, keys[k].enabled);
    if (platform.registry.OpenKey(keys[k].source->root, path, kKeyWrite | kKeyRead, &key) != kOk) continue;
    char name[512];
    for (;;) {
      std::uint32_t length = sizeof name;
      if (platform.registry.EnumValue(key, 0, name, &length, nullptr, nullptr, nullptr) != kOk) break;
      if (platform.registry.DeleteValue(key, std::string(name, length)) != kOk) break;
    }
    platform.registry.CloseKey(key);
  }
}

// count values spread evenly over the twenty keys, REG_SZ command lines.
inline void SeedValues(Platform& platform, int count) {
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    RegKey key = 0;
    std::string path = KeyPath(keys[k].source->writePath, keys[k].enabled);
    platform.registry.CreateKey(keys[k].source->root, path, kKeyWrite, &key);
    for (int i = k; i < count; i += kManagedKeyCount) {
      char name[32], data[96];
      std::snprintf(name, sizeof name, "entry%05d", i);
      int length = std::snprintf(data, sizeof data, "C:\\Program Files\\App%05d\\app.exe /autostart", i);
      platform.registry.SetValue(key, name, kRegSz, data, static_cast<std::uint32_t>(length + 1));
    }
    platform.registry.CloseKey(key);
  }
}

// Points the Startup folder at folder and fills it with count shortcuts.
inline void SeedStartupFolder(Platform& platform, const std::string& folder, int count) {
  RegKey key = 0;
  platform.registry.CreateKey(kHkeyCurrentUser, kShellFoldersKey, kKeyWrite, &key);
  platform.registry.SetValue(key, "Startup", kRegSz, folder.c_str(), static_cast<std::uint32_t>(folder.size() + 1));
  platform.registry.CloseKey(key);
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "\\tool%04d.lnk", i);
    platform.files.WriteFile(folder + name, "shortcut");
    if (i % 4 == 0) platform.files.SetAttributes(folder + name, kAttrHidden);
  }
}

// Loads the main window (which scans) and reports how long the load took.
inline double TimeLoad(Platform& platform, int* rows) {
  test::RecordingHost host;
  Clock::time_point start = Clock::now();
  Form1 form(platform, host);
  form.Form_Load();
  double ms = MillisecondsSince(start);
  *rows = form.List1.ListCount();
  return ms;
}

// Loads the main window, then times checking every row's program once more.
inline double TimeProgramChecks(Platform& platform) {
  test::RecordingHost host;
  Form1 form(platform, host);
  form.Form_Load();
  Clock::time_point start = Clock::now();
  MarkMissingPrograms(platform, form.List1, form.List4, form.List5);
  return MillisecondsSince(start);
}

// Loads, unchecks every other row, and times the commit alone. calls, when
// given, counts platform calls; *made is then those of the commit.
inline double TimeCommit(Platform& platform, int* rows, long (*calls)(void*) = nullptr,
                         void* counter = nullptr, long* made = nullptr) {
  test::RecordingHost host;
  Form1 form(platform, host);
  form.Form_Load();
  *rows = form.List1.ListCount();
  for (int i = 0; i < *rows; i += 2) form.List1.SetSelected(i, !form.List1.Selected(i));
  const long before = calls ? calls(counter) : 0;
  Clock::time_point start = Clock::now();
  form.Command2_Click();
  double ms = MillisecondsSince(start);
  if (calls) *made = calls(counter) - before;
  return ms;
}

inline void ReportCommit(const char* where, int rows, double ms) {
  std::printf("commit %-8s %6d entries: %9.1f ms  (%.2f us per entry)\n", where, rows, ms,
              rows ? ms * 1000.0 / rows : 0.0);
}

}  // namespace qel::bench

// Scan and commit figures on the real Win32 calls (run under Wine).
#include <windows.h>

#include "../common/startup_bench.h"
#include "platform/win32/win32_platform.h"

using namespace qel;

namespace {

// The registry's Startup folder before the benchmark, put back after it.
std::string ReadStartupSetting(Platform& platform) {
  Module1 registry(platform.registry);
  RegValue value;
  registry.ReadRegValue(kHkeyCurrentUser, kShellFoldersKey, "Startup", &value);
  return value.TextForm();
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string path = folder + "\\" + found.cFileName;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  win32::Win32Platform real;
  Platform& platform = real.platform();
  // "seed" and "clear" let a script time other tools on the same 10,000 values.
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "seed" || mode == "clear") {
    bench::ClearManagedKeys(platform);
    if (mode == "seed") bench::SeedValues(platform, 10000);
    return 0;
  }
  const std::string savedStartup = ReadStartupSetting(platform);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "qelmora-bench-startup";
  RemoveFolder(folder);
  CreateDirectoryA(folder.c_str(), nullptr);

  bench::ClearManagedKeys(platform);
  bench::SeedValues(platform, 10000);
  bench::SeedStartupFolder(platform, folder, 1000);
  int rows = 0;
  double best = 1e9;
  for (int run = 0; run < 3; ++run) best = std::min(best, bench::TimeLoad(platform, &rows));
  std::printf("scan   wine     10000 values in 20 keys + 1000 Startup files: %d rows in %.1f ms (best of 3)\n",
              rows, best);
  RemoveFolder(folder);
  CreateDirectoryA(folder.c_str(), nullptr);

  for (int count : {1000, 10000}) {
    bench::ClearManagedKeys(platform);
    bench::SeedValues(platform, count);
    double ms = bench::TimeCommit(platform, &rows);
    bench::ReportCommit("wine", rows, ms);
  }
  bench::ClearManagedKeys(platform);
  RegKey key = 0;
  platform.registry.CreateKey(kHkeyCurrentUser, kShellFoldersKey, kKeyWrite, &key);
  platform.registry.SetValue(key, "Startup", kRegSz, savedStartup.c_str(),
                             static_cast<std::uint32_t>(savedStartup.size() + 1));
  platform.registry.CloseKey(key);
  RemoveFolder(folder);
  return 0;
}

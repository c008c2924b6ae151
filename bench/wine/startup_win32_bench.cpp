// Scan and commit figures on the real Win32 calls (run under Wine), each next
// to its floor: the bare calls that read the same entries, or make the same
// change, timed in the same process.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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

HKEY RootOf(RegKey root) { return root == kHkeyCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Every value of the twenty keys read with RegEnumValueA, name and data in
// one call; with wideNames each name also with RegEnumValueW, as the program
// does on Windows NT to find names the code page cannot hold.
int ReadManagedKeys(bool wideNames) {
  int found = 0;
  std::vector<char> name(16384), data(65536);
  std::vector<wchar_t> wide(16384);
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    HKEY key;
    std::string path = KeyPath(keys[k].source->scanPath, keys[k].enabled);
    if (RegOpenKeyExA(RootOf(keys[k].source->root), path.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
      continue;
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = DWORD(name.size()), dataLength = DWORD(data.size()), type = 0;
      if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                        reinterpret_cast<BYTE*>(data.data()), &dataLength) != ERROR_SUCCESS)
        break;
      ++found;
    }
    for (DWORD index = 0; wideNames; ++index) {
      DWORD nameLength = DWORD(wide.size());
      if (RegEnumValueW(key, index, wide.data(), &nameLength, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS)
        break;
    }
    RegCloseKey(key);
  }
  return found;
}

// The scan's floor: every value of the twenty keys read with RegEnumValueA
// (name and data in one call), and the Startup folder listed with
// FindFirstFileA/FindNextFileA and one GetFileAttributesA per file. With
// wideNames, also the names listed again with RegEnumValueW and
// FindFirstFileW/FindNextFileW, as the program must on Windows NT to find
// names the code page cannot hold.
double ScanFloorMs(const std::string& folder, bool wideNames, int* found) {
  bench::Clock::time_point start = bench::Clock::now();
  *found = ReadManagedKeys(wideNames);
  WIN32_FIND_DATAA file;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &file);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (GetFileAttributesA((folder + "\\" + file.cFileName).c_str()) != INVALID_FILE_ATTRIBUTES)
        ++*found;
    } while (FindNextFileA(search, &file));
    FindClose(search);
  }
  if (wideNames) {
    WIN32_FIND_DATAW wide;
    std::wstring pattern(folder.begin(), folder.end());  // the bench folder's name is ASCII
    search = FindFirstFileW((pattern + L"\\*.*").c_str(), &wide);
    if (search != INVALID_HANDLE_VALUE) {
      while (FindNextFileW(search, &wide)) {
      }
      FindClose(search);
    }
  }
  return bench::MillisecondsSince(start);
}

// What the missing-program checks cannot do without: one GetFileAttributesA
// per row, on the program each seeded value names and on each Startup file.
double ProgramFloorMs(const std::string& folder, int values, int files) {
  bench::Clock::time_point start = bench::Clock::now();
  char path[MAX_PATH];
  for (int i = 0; i < values; ++i) {
    std::snprintf(path, sizeof path, "C:\\Program Files\\App%05d\\app.exe", i);
    GetFileAttributesA(path);
  }
  for (int i = 0; i < files; ++i) {
    std::snprintf(path, sizeof path, "%s\\tool%04d.lnk", folder.c_str(), i);
    GetFileAttributesA(path);
  }
  return bench::MillisecondsSince(start);
}

// One value the commit moves between a key and its twin.
struct Move {
  HKEY root;
  std::string from, to, name, data;
};

// The change TimeCommit makes: every other row's mark flipped.
std::vector<Move> PlanCommitChange(Platform& platform) {
  test::RecordingHost host;
  Form1 form(platform, host);
  form.Form_Load();
  std::vector<Move> moves;
  for (int i = 0; i < form.List1.ListCount(); i += 2) {
    StartupEntry row = form.entries().Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!source || source->kind != PlaceKind::RegistryKey) continue;
    moves.push_back({RootOf(source->root), KeyPath(source->writePath, row.enabled),
                     KeyPath(source->writePath, !row.enabled), row.name, row.commandLine});
  }
  return moves;
}

// The commit's floor: the same change made with bare RegSetValueExA and
// RegDeleteValueA calls, each key opened once.
double CommitFloorMs(const std::vector<Move>& moves) {
  std::map<std::pair<HKEY, std::string>, HKEY> opened;
  auto key = [&](HKEY root, const std::string& path) {
    HKEY& handle = opened[{root, path}];
    if (!handle)
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    return handle;
  };
  bench::Clock::time_point start = bench::Clock::now();
  for (const Move& move : moves) {
    RegSetValueExA(key(move.root, move.to), move.name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(move.data.c_str()), DWORD(move.data.size() + 1));
    RegDeleteValueA(key(move.root, move.from), move.name.c_str());
  }
  for (auto& entry : opened) RegCloseKey(entry.second);
  return bench::MillisecondsSince(start);
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
  int rows = 0, found = 0;
  double best = 1e9, floor = 1e9, wideFloor = 1e9, checks = 1e9, programFloor = 1e9;
  for (int run = 0; run < 3; ++run) {  // in turn, so that all see the same load
    best = std::min(best, bench::TimeLoad(platform, &rows));
    floor = std::min(floor, ScanFloorMs(folder, false, &found));
    wideFloor = std::min(wideFloor, ScanFloorMs(folder, true, &found));
    checks = std::min(checks, bench::TimeProgramChecks(platform));
    programFloor = std::min(programFloor, ProgramFloorMs(folder, 10000, 1000));
  }
  std::printf("scan   wine     10000 values in 20 keys + 1000 Startup files: %d rows in %.1f ms (best of 3)\n",
              rows, best);
  std::printf("         floor, bare RegEnumValueA + FindFirstFileA/FindNextFileA + GetFileAttributesA: "
              "%d entries in %.1f ms; ratio %.2f (goal <= 1.25)\n",
              found, floor, best / floor);
  std::printf("         + the names again with RegEnumValueW and FindFirstFileW/FindNextFileW: "
              "%.1f ms; ratio %.2f\n",
              wideFloor, best / wideFloor);
  // The program's own floor is the one with the wide names (it needs them on NT).
  std::printf("         the scan checks every row's program (%.1f ms of it, on their own); that floor + "
              "one GetFileAttributesA per row: %.1f ms; ratio %.2f (goal <= 1.5)\n",
              checks, wideFloor + programFloor, best / (wideFloor + programFloor));
  RemoveFolder(folder);
  CreateDirectoryA(folder.c_str(), nullptr);

  for (int count : {1000, 10000}) {
    bench::ClearManagedKeys(platform);
    bench::SeedValues(platform, count);
    std::vector<Move> moves = PlanCommitChange(platform);
    double ms = 1e9, bare = 1e9, read = 1e9;
    for (int run = 0; run < 3; ++run) {  // in turn, so that all three see the same load
      bench::ClearManagedKeys(platform);
      bench::SeedValues(platform, count);
      ms = std::min(ms, bench::TimeCommit(platform, &rows));
      bench::ClearManagedKeys(platform);
      bench::SeedValues(platform, count);
      bench::Clock::time_point start = bench::Clock::now();
      ReadManagedKeys(true);
      read = std::min(read, bench::MillisecondsSince(start));
      bare = std::min(bare, CommitFloorMs(moves));
    }
    bench::ReportCommit("wine", rows, ms);
    std::printf("         floor, bare RegSetValueExA + RegDeleteValueA for the same %zu moves: "
                "%.1f ms; ratio %.2f (goal <= 1.5) (best of 3)\n",
                moves.size(), bare, ms / bare);
    // What the floor leaves out: the commit must see what the keys hold now
    // before it writes, one RegEnumValueA and (NT) one RegEnumValueW a value.
    std::printf("         + one bare read of the keys first (RegEnumValueA name and data, "
                "RegEnumValueW name): %.1f ms; ratio %.2f\n",
                read, ms / (bare + read));
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

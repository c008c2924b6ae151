#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/win32_unicode_names.h"

// windows.h maps these names to their A forms; the interface keeps the plain names.
#undef DeleteFile
#undef MoveFile

namespace qel::win32 {

namespace {

Status LastError() { return static_cast<Status>(GetLastError()); }

}  // namespace

Status FileSystem::ListFolder(const std::string& folder, std::vector<FileEntry>* entries) {
  entries->clear();
  std::string base = folder;
  // Trailing separators go, but never the second byte of a double-byte
  // character: in GBK that byte may be 0x5C.
  while (!base.empty()) {
    const char* end = base.c_str() + base.size();
    if (CharPrevA(base.c_str(), end) != end - 1 || (end[-1] != '\\' && end[-1] != '/')) break;
    base.pop_back();
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    Status status = LastError();
    // A drive root has no "." entry: nothing found there means empty.
    DWORD attributes = GetFileAttributesA((base + "\\").c_str());
    if (status == ERROR_FILE_NOT_FOUND && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return kOk;
    }
    return status;
  }
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") entries->push_back({name, found.dwFileAttributes});
  } while (FindNextFileA(search, &found));
  Status status = LastError();
  FindClose(search);
  return status == ERROR_NO_MORE_FILES ? kOk : status;
}

Status FileSystem::GetAttributes(const std::string& path, std::uint32_t* attributes) {
  DWORD found = GetFileAttributesA(path.c_str());
  if (found == INVALID_FILE_ATTRIBUTES) return LastError();
  *attributes = found;
  return kOk;
}

Status FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  DWORD wanted = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesA(path.c_str(), wanted) ? kOk : LastError();
}

Status FileSystem::DeleteFile(const std::string& path) {
  return DeleteFileA(path.c_str()) ? kOk : LastError();
}

bool FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Status FileSystem::ReadFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  std::string read;
  char chunk[65536];
  Status status = kOk;
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof(chunk), &got, nullptr)) {
      status = LastError();
      break;
    }
    if (got == 0) break;
    read.append(chunk, got);
  }
  CloseHandle(file);
  if (status == kOk) bytes->swap(read);
  return status;
}

Status FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  Status status = kOk;
  std::size_t done = 0;
  while (done < bytes.size() && status == kOk) {
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD wrote = 0;
    if (!::WriteFile(file, bytes.data() + done, want, &wrote, nullptr)) {
      status = LastError();
    } else if (wrote == 0) {
      status = kDiskFull;  // a short write must not pass for success
    }
    done += wrote;
  }
  // On the disk before the caller renames it over a file the user keeps.
  if (status == kOk && !FlushFileBuffers(file)) status = LastError();
  if (!CloseHandle(file) && status == kOk) status = LastError();
  return status;
}

Status FileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
  // Windows 98's kernel32 exports MoveFileExA, but only as a stub that fails
  // with ERROR_CALL_NOT_IMPLEMENTED; the caller falls back on two renames.
  BOOL moved = replace ? MoveFileExA(from.c_str(), to.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                       : MoveFileA(from.c_str(), to.c_str());
  return moved ? kOk : LastError();
}

Status FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) ? kOk : LastError();
}

Status FileSystem::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) ? kOk : LastError();
}

Status FileSystem::UnrepresentableFiles(const std::string& folder,
                                        std::vector<std::uint32_t>* indices) {
  using FindFirstW = HANDLE(WINAPI*)(LPCWSTR, LPWIN32_FIND_DATAW);
  using FindNextW = BOOL(WINAPI*)(HANDLE, LPWIN32_FIND_DATAW);
  const auto findFirst = LookUpNt<FindFirstW>("kernel32.dll", "FindFirstFileW");
  const auto findNext = LookUpNt<FindNextW>("kernel32.dll", "FindNextFileW");
  indices->clear();
  if (!findFirst || !findNext) return kOk;
  std::vector<wchar_t> pattern = WideOfAnsi(folder);
  while (!pattern.empty() && (pattern.back() == L'\\' || pattern.back() == L'/'))
    pattern.pop_back();
  for (const wchar_t* tail = L"\\*.*"; *tail; ++tail) pattern.push_back(*tail);
  pattern.push_back(L'\0');
  WIN32_FIND_DATAW found;
  HANDLE search = findFirst(pattern.data(), &found);
  if (search == INVALID_HANDLE_VALUE) return kOk;  // ListFolder reports why
  // The same order as ListFolder's, "." and ".." left out.
  std::uint32_t index = 0;
  do {
    const wchar_t* name = found.cFileName;
    int nameLength = 0;
    while (name[nameLength]) ++nameLength;
    if (name[0] == L'.' && (nameLength == 1 || (nameLength == 2 && name[1] == L'.'))) continue;
    if (!AnsiHolds(name, nameLength)) indices->push_back(index);
    ++index;
  } while (findNext(search, &found));
  FindClose(search);
  return kOk;
}

}  // namespace qel::win32

#include "startup/backup.h"

#include <algorithm>
#include <functional>

#include "platform/ansi_text.h"
#include "platform/kept_file.h"
#include "registry/module1.h"
#include "startup/catalogue.h"

namespace qel {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kBackupFolder[] = "\\backup";  // beside the program
// The code page the backup's texts are quoted in: the registry editor that
// imports them reads them in it.
constexpr std::uint32_t kBackupCodePage = 936;

// Lower-case hexadecimal, at least width digits.
std::string Hex(std::uint32_t value, int width) {
  std::string digits;
  for (; value || width > 0; value >>= 4, --width)
    digits.insert(digits.begin(), "0123456789abcdef"[value & 15]);
  return digits;
}

// Decimal, at least width digits.
std::string Decimal(int value, int width) {
  std::string digits = std::to_string(value);
  return std::string(width > int(digits.size()) ? width - digits.size() : 0, '0') + digits;
}

// A text in REGEDIT4 quotes: \ and " escaped, never the second byte of a
// double-byte character (the registry editor reads the file in the code page).
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(kBackupCodePage, text[i]) && i + 1 < text.size()) {
      out += text[i];
      out += text[++i];
      continue;
    }
    if (text[i] == '\\' || text[i] == '"') out += '\\';
    out += text[i];
  }
  return out + '"';
}

// Whether a REG_SZ's bytes read back whole from "text": one NUL, at the end,
// and no line break.
bool FitsQuotes(const std::string& bytes) {
  return !bytes.empty() && bytes.find('\0') == bytes.size() - 1 &&
         bytes.find_first_of("\r\n") == std::string::npos;
}

// hex:01,02 or hex(N):..., wrapped as the registry editor wraps it.
std::string HexData(std::uint32_t type, const std::string& bytes, std::size_t column) {
  std::string out = type == kRegBinary ? "hex:" : "hex(" + Hex(type, 1) + "):";
  column += out.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out += Hex(static_cast<unsigned char>(bytes[i]), 2);
    column += 3;
    if (i + 1 == bytes.size()) break;
    out += ',';
    if (column > 76) {
      out += std::string("\\") + kCrLf + "  ";
      column = 2;
    }
  }
  return out;
}

std::string ValueLine(const ChangedValue& value) {
  std::string line = value.name.empty() ? "@" : Quoted(value.name);
  line += '=';
  if (value.type == kRegSz && FitsQuotes(value.bytes)) {
    line += Quoted(value.bytes.substr(0, value.bytes.size() - 1));
  } else if (value.type == kRegDword && value.bytes.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.bytes[i]);
    line += "dword:" + Hex(number, 8);
  } else {
    line += HexData(value.type, value.bytes, line.size());
  }
  return line + kCrLf;
}

std::string AttributeLetters(std::uint32_t attributes) {
  std::string letters;
  const std::pair<std::uint32_t, char> bits[] = {
      {kAttrReadOnly, 'R'}, {kAttrHidden, 'H'}, {kAttrSystem, 'S'}, {kAttrArchive, 'A'}};
  for (const auto& [bit, letter] : bits)
    if (attributes & bit) letters += letter;
  return letters.empty() ? "-" : letters;
}

bool IsDigits(const std::string& text, std::size_t from, std::size_t count) {
  if (from + count > text.size()) return false;
  return std::all_of(text.begin() + from, text.begin() + from + count,
                     [](char c) { return c >= '0' && c <= '9'; });
}

// The number n of a name YYYYMMDD-HHMMSS or YYYYMMDD-HHMMSS-n (1 for the
// first), or 0 for a name this program never gives.
long BackupNumber(const std::string& name) {
  if (!IsDigits(name, 0, 8) || name.size() < 15 || name[8] != '-' || !IsDigits(name, 9, 6))
    return 0;
  if (name.size() == 15) return 1;
  const std::size_t digits = name.size() - 16;
  if (name[15] != '-' || digits == 0 || digits > 4 || !IsDigits(name, 16, digits)) return 0;
  long number = 0;
  for (std::size_t i = 16; i < name.size(); ++i) number = number * 10 + (name[i] - '0');
  return number;
}

// Removes a folder with its files and the folders in it, up to depth levels.
void RemoveTree(FileSystemApi& files, const std::string& folder, int depth) {
  std::vector<FileEntry> entries;
  if (files.ListFolder(folder, &entries) != kOk) return;
  for (const FileEntry& entry : entries) {
    const std::string path = folder + "\\" + entry.name;
    if (!(entry.attributes & kAttrDirectory)) {
      files.SetAttributes(path, 0);
      files.DeleteFile(path);
    } else if (depth > 0) {
      RemoveTree(files, path, depth - 1);
    }
  }
  files.RemoveFolder(folder);
}

// A new folder below backups named after the time; -2, -3... when taken.
Status MakeBackupFolder(FileSystemApi& files, const std::string& backups, const LocalTime& t,
                        std::string* folder) {
  Status status = files.CreateFolder(backups);
  if (status != kOk && status != kAlreadyExists) return *folder = backups, status;
  const std::string name = Decimal(t.year, 4) + Decimal(t.month, 2) + Decimal(t.day, 2) + "-" +
                           Decimal(t.hour, 2) + Decimal(t.minute, 2) + Decimal(t.second, 2);
  for (int n = 1; n < 1000; ++n) {
    *folder = backups + "\\" + name + (n > 1 ? "-" + std::to_string(n) : "");
    status = files.CreateFolder(*folder);
    if (status != kAlreadyExists) return status;
  }
  return status;
}

}  // namespace

std::string RegistryKeyText(const ChangedValue& value) {
  std::string path = value.path;
  if (value.wow6432Node) path.insert(std::min(path.find('\\'), path.size()), "\\Wow6432Node");
  return std::string(value.root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                     : "HKEY_CURRENT_USER\\") +
         path;
}

std::string FormatRegistryBackup(const PlannedChanges& changes) {
  std::string out = std::string("REGEDIT4") + kCrLf;
  std::vector<std::string> keys;  // in the order first met
  for (const ChangedValue& value : changes.values)
    if (std::find(keys.begin(), keys.end(), RegistryKeyText(value)) == keys.end())
      keys.push_back(RegistryKeyText(value));
  for (const std::string& key : keys) {
    out += kCrLf + ("[" + key + "]") + kCrLf;
    for (const ChangedValue& value : changes.values)
      if (RegistryKeyText(value) == key) out += ValueLine(value);
  }
  if (!changes.iniKeys.empty()) out += kCrLf;
  for (const ChangedIniKey& ini : changes.iniKeys)
    out += "; Win.ini [windows] " + ini.key + "=" + ini.text + kCrLf;
  return out + kCrLf;
}

Status WriteBackup(Platform& platform, const PlannedChanges& planned, std::string* folder) {
  folder->clear();
  if (planned.empty()) return kOk;
  PlannedChanges changes = planned;
  for (ChangedValue& value : changes.values)
    value.wow6432Node = InWow6432Node(platform.registry, value.root, value.path, value.view);
  FileSystemApi& files = platform.files;
  Status status = MakeBackupFolder(files, platform.system.ProgramFolder() + kBackupFolder,
                                   platform.system.Now(), folder);
  if (status != kOk) return status;
  std::vector<KeptFile> written = {{*folder + "\\registry.reg", FormatRegistryBackup(changes)}};
  std::vector<std::string> folders;  // the Startup folders, each its own subfolder when two
  bool clash = false;                // a copy named like one of the backup's own files
  for (const ChangedFile& file : changes.files) {
    if (std::find(folders.begin(), folders.end(), file.folder) == folders.end())
      folders.push_back(file.folder);
    clash |= file.deleted &&
             (FoldValueName(file.name) == "registry.reg" || FoldValueName(file.name) == "startup.txt");
  }
  std::string list;
  for (const ChangedFile& file : changes.files) {
    const std::size_t index =
        std::find(folders.begin(), folders.end(), file.folder) - folders.begin();
    std::string copy = *folder;
    if (folders.size() > 1 || clash) copy += "\\startup" + std::to_string(index + 1);
    list += file.folder + "\\" + file.name + "\t" + AttributeLetters(file.attributes);
    if (!file.deleted) {
      list += kCrLf;
      continue;
    }
    if (copy != *folder && !files.Exists(copy)) status = files.CreateFolder(copy);
    copy += "\\" + file.name;
    KeptFile kept{copy, {}};
    if (status == kOk) status = files.ReadFile(file.folder + "\\" + file.name, &kept.bytes);
    if (status != kOk) break;
    written.push_back(std::move(kept));
    list += "\t" + copy + kCrLf;
  }
  if (!changes.files.empty())
    written.push_back({*folder + "\\startup.txt",
                       platform.system.ToAnsi("启动文件夹中的文件\t属性(R只读 H隐藏 S系统 A存档)\t"
                                              "被删除的文件的副本") +
                           kCrLf + list});
  std::string failed;
  if (status == kOk) status = WriteKeptFiles(files, written, &failed);
  if (status != kOk) RemoveTree(files, *folder, 1);
  return status;
}

void PruneBackups(FileSystemApi& files, const std::string& programFolder) {
  const std::string backups = programFolder + kBackupFolder;
  std::vector<FileEntry> entries;
  if (files.ListFolder(backups, &entries) != kOk) return;
  struct Ours {
    std::string time;
    long number;
    std::string name;
    bool operator>(const Ours& other) const {
      return time != other.time ? time > other.time : number > other.number;
    }
  };
  std::vector<Ours> ours;
  for (const FileEntry& entry : entries) {
    const long number = BackupNumber(entry.name);
    if ((entry.attributes & kAttrDirectory) && number)
      ours.push_back({entry.name.substr(0, 15), number, entry.name});
  }
  if (ours.size() <= static_cast<std::size_t>(kBackupsKept)) return;
  // Newest first: by time, then by number within one second.
  std::sort(ours.begin(), ours.end(), std::greater<Ours>());
  for (std::size_t i = kBackupsKept; i < ours.size(); ++i)
    RemoveTree(files, backups + "\\" + ours[i].name, 1);
}

}  // namespace qel

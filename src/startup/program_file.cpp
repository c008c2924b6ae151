#include "startup/program_file.h"

#include "platform/ansi_text.h"

namespace qel {
namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What Windows starts by itself; on an unquoted line, text up to a blank that
// names anything else is read as the program's argument, not as the program.
bool IsRunnable(const std::string& extension) {
  for (const char* runnable : {"exe", "com", "bat", "cmd", "pif", "scr"})
    if (extension == runnable) return true;
  return false;
}

// An integer value's decimal text: a setting (RunOnceEx keeps its flags so),
// never something Windows starts.
bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("-0123456789") == npos;
}

}  // namespace

ProgramFinder::ProgramFinder(Platform& platform)
    : platform_(platform),
      codePage_(platform.system.AnsiCodePage()),
      previousErrorMode_(platform.programs.SetErrorMode(kSemFailCriticalErrors)) {}

ProgramFinder::~ProgramFinder() { platform_.programs.SetErrorMode(previousErrorMode_); }

const std::string& ProgramFinder::Check(PlaceKind kind, const std::string& commandLine,
                                        bool* missing) {
  const Located* located = &kNothing;
  switch (kind) {
    case PlaceKind::RegistryKey: located = &CommandLine(commandLine); break;
    case PlaceKind::WinIni: located = &WinIniNames(commandLine); break;
    case PlaceKind::StartupFolder: located = &Shortcut(commandLine); break;
  }
  *missing = located->found == Found::No;
  return located->path;
}

const ProgramFinder::Located& ProgramFinder::CommandLine(const std::string& commandLine) {
  const std::string line = TrimBlanks(commandLine);
  if (line.empty() || IsNumber(line)) return kNothing;
  std::string rest;
  const Located& program = FirstOnLine(
      line.find('%') == npos ? line : platform_.programs.ExpandEnvironment(line), &rest);
  const std::string name =
      LowerAnsi(program.path.substr(NameStart(program.path, program.path.size())), codePage_);
  if (program.found == Found::No || (name != "rundll32.exe" && name != "rundll.exe"))
    return program;
  // rundll32 runs a function of a DLL: the DLL is what must be there.
  std::string dll = TrimBlanks(rest);
  if (!dll.empty() && dll[0] == '"')
    dll = dll.substr(1, dll.find('"', 1) - 1);
  else
    dll =
        TrimBlanks(dll.substr(0, dll.find(',') != npos ? dll.find(',') : dll.find_first_of(" \t")));
  return dll.empty() ? program : Locate(dll, "dll");
}

const ProgramFinder::Located& ProgramFinder::FirstOnLine(const std::string& line,
                                                         std::string* rest) {
  if (line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    *rest = close == npos ? std::string() : line.substr(close + 1);
    return Locate(line.substr(1, close == npos ? npos : close - 1), "exe");
  }
  // Unquoted, Windows tries the text up to each blank in turn, shortest
  // first, and starts the first that names a program file. What makes the
  // first unknowable (the network, a removable drive) holds for them all;
  // a later one may only look like a relative path ("app /s").
  bool first = true;
  for (std::size_t end = 1; end <= line.size(); ++end) {
    if ((end < line.size() && !IsBlank(line[end])) || IsBlank(line[end - 1])) continue;
    const std::string extension = Extension(line, end);
    if (!extension.empty() && !IsRunnable(extension)) continue;
    const Located& found = Locate(line.substr(0, end), "exe");
    if (found.found == Found::Yes || (first && found.found == Found::Unknown)) {
      *rest = line.substr(end);
      return found;
    }
    first = false;
  }
  const std::size_t end = line.find_first_of(" \t");
  *rest = end == npos ? std::string() : line.substr(end);
  return Locate(line.substr(0, end), "exe");
}

// Win.ini's load and run name programs one after another.
const ProgramFinder::Located& ProgramFinder::WinIniNames(const std::string& line) {
  const Located* last = &kNothing;
  for (std::size_t at = 0; (at = line.find_first_not_of(" \t,", at)) != npos;) {
    const std::size_t end = line.find_first_of(" \t,", at);
    last = &Locate(line.substr(at, end == npos ? npos : end - at), "exe");
    if (last->found == Found::No) break;
    at = end;
  }
  return *last;
}

// A Startup-folder file is there by definition; a shortcut needs its target.
const ProgramFinder::Located& ProgramFinder::Shortcut(const std::string& path) {
  std::string target;
  if (Extension(path, path.size()) != "lnk" || !platform_.programs.ShortcutTarget(path, &target) ||
      TrimBlanks(target).empty())
    return kNothing;
  return Locate(platform_.programs.ExpandEnvironment(target), nullptr);
}

const ProgramFinder::Located& ProgramFinder::Locate(std::string name, const char* extension) {
  if (name.empty()) return kNothing;
  if (extension && Extension(name, name.size()).empty()) name += std::string(".") + extension;
  std::string key = LowerAnsi(name, codePage_);
  auto known = located_.find(key);
  if (known != located_.end()) return known->second;
  std::string path = name;
  const Found found = LocateUncached(name, &path);
  return located_.emplace(std::move(key), Located{found, std::move(path)}).first->second;
}

ProgramFinder::Found ProgramFinder::LocateUncached(const std::string& name, std::string* path) {
  // A variable this system does not set: nothing to tell from here.
  if (name.find('%') != npos) return Found::Unknown;
  const char letter = static_cast<char>(name[0] & ~0x20);
  const bool fromRoot = name.size() > 3 && letter >= 'A' && letter <= 'Z' && name[1] == ':' &&
                        (name[2] == '\\' || name[2] == '/');
  if (!fromRoot) {
    // A network path (\\server\share), or one relative to some current
    // folder: not followed from here.
    if (name.find_first_of("\\/:") != npos) return Found::Unknown;
    return platform_.programs.SearchPath(name, path) ? Found::Yes : Found::No;
  }
  auto drive = fixedDrives_.find(letter);
  if (drive == fixedDrives_.end())
    drive = fixedDrives_
                .emplace(letter, platform_.programs.IsFixedDrive(std::string(1, letter) + ":\\"))
                .first;
  // A floppy, a CD, the network: never touched, so no box and no wait.
  if (!drive->second) return Found::Unknown;
  // Nothing is in a folder that is not there. An unquoted line with
  // arguments names a second path in the same folder ("app.exe /s" is the
  // file "s.exe" in "app.exe "): this spares a look for it.
  for (std::string folder = FolderOf(name, codePage_); !folder.empty();
       folder = FolderOf(folder, codePage_))
    if (missingFolders_.count(LowerAnsi(folder, codePage_))) return Found::No;
  std::uint32_t attributes = 0;
  const Status status = platform_.files.GetAttributes(name, &attributes);
  if (status == kOk) return Found::Yes;
  // Not found on the way: the folder the file would be in is missing.
  if (status == kPathNotFound)
    missingFolders_.insert(LowerAnsi(FolderOf(name, codePage_), codePage_));
  return status == kFileNotFound || status == kPathNotFound ? Found::No : Found::Unknown;
}

// Where the file name in path's first length bytes starts.
std::size_t ProgramFinder::NameStart(const std::string& path, std::size_t length) const {
  std::size_t start = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (IsLeadByte(codePage_, static_cast<unsigned char>(path[i])))
      ++i;  // its second byte may be a backslash
    else if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
      start = i + 1;
  }
  return start;
}

// The extension of that file name: lower case, without the dot; empty when
// it has none.
std::string ProgramFinder::Extension(const std::string& path, std::size_t length) const {
  const std::size_t dot = length ? path.rfind('.', length - 1) : npos;
  return dot == npos || dot < NameStart(path, length)
             ? std::string()
             : LowerAnsi(path.substr(dot + 1, length - dot - 1), codePage_);
}

namespace {

void Mark(ProgramFinder& finder, ui::ListBox& names, const ui::ListBox& commandLines,
          const ui::ListBox& tags, int i) {
  // The kind of place says how the row's text names its program, so new
  // places are covered by the catalogue alone.
  const StartupSource* source = FindSource(tags.List(i));
  bool missing = false;
  if (source) finder.Check(source->kind, commandLines.List(i), &missing);
  names.SetRowColor(i, missing ? kMissingProgramColor : ui::Color());
}

}  // namespace

void MarkMissingPrograms(Platform& platform, ui::ListBox& names, const ui::ListBox& commandLines,
                         const ui::ListBox& tags) {
  ProgramFinder finder(platform);
  for (int i = 0; i < names.ListCount(); ++i) Mark(finder, names, commandLines, tags, i);
}

void MarkMissingProgram(Platform& platform, ui::ListBox& names, const ui::ListBox& commandLines,
                        const ui::ListBox& tags, int i) {
  if (i < 0 || i >= names.ListCount()) return;
  ProgramFinder finder(platform);
  Mark(finder, names, commandLines, tags, i);
}

}  // namespace qel

// Whether the program an entry starts is still on the disk, read from its
// command line as Windows reads it when it starts the entry. Rows whose
// program is gone are drawn in red; nothing else about them changes.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/platform.h"
#include "startup/catalogue.h"
#include "ui/controls.h"

namespace qel {

// The text colour of a row whose program is gone.
inline const ui::Color kMissingProgramColor = ui::Color::Rgb(255, 0, 0);

// Looks programs up for one pass over the rows. While it lives Windows shows
// no "no disk" box; what it learnt of a path or a drive it keeps.
class ProgramFinder {
 public:
  explicit ProgramFinder(Platform& platform);
  ~ProgramFinder();
  ProgramFinder(const ProgramFinder&) = delete;
  ProgramFinder& operator=(const ProgramFinder&) = delete;

  // The file a row of this kind needs, as found or as it would be named,
  // and whether it is known to be missing. Where that cannot be known (a
  // network path, a drive that is no fixed disk, an unreadable shortcut) it
  // counts as there.
  const std::string& Check(PlaceKind kind, const std::string& commandLine, bool* missing);

 private:
  enum class Found { Yes, No, Unknown };
  struct Located {
    Found found;
    std::string path;  // where it was found, or the name looked for
  };

  inline static const Located kNothing{Found::Unknown, {}};

  // What is found lives in located_ (or is kNothing) while the finder lives.
  const Located& CommandLine(const std::string& commandLine);
  const Located& FirstOnLine(const std::string& line, std::string* rest);
  const Located& WinIniNames(const std::string& line);
  const Located& Shortcut(const std::string& path);
  // A name or path; extension ("exe", "dll") is added when it has none.
  const Located& Locate(std::string name, const char* extension);
  Found LocateUncached(const std::string& name, std::string* path);
  std::size_t NameStart(const std::string& path, std::size_t length) const;
  std::string Extension(const std::string& path, std::size_t length) const;

  Platform& platform_;
  std::uint32_t codePage_;
  std::uint32_t previousErrorMode_;
  std::map<std::string, Located> located_;
  std::map<char, bool> fixedDrives_;
  std::set<std::string> missingFolders_;  // lower case
};

// Every row of names in red whose program is gone, the others in the list's
// own colour. commandLines and tags are the rows' command lines and tags.
void MarkMissingPrograms(Platform& platform, ui::ListBox& names, const ui::ListBox& commandLines,
                         const ui::ListBox& tags);
// The same for row i alone, as after its command line was edited.
void MarkMissingProgram(Platform& platform, ui::ListBox& names, const ui::ListBox& commandLines,
                        const ui::ListBox& tags, int i);
inline bool IsMissingProgramRow(const ui::ListBox& names, int i) {
  return names.RowColor(i) == kMissingProgramColor;
}

}  // namespace qel

#include "startup/snapshot.h"

#include <cctype>

#include "platform/ansi_text.h"
#include "platform/kept_file.h"

namespace qel {
namespace {

constexpr char kLineEnd[] = "\r\n";

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    // A quote inside a name is doubled so that it reads back whole.
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// Splits one line into comma-separated fields: a field in double quotes
// keeps its commas ("" stands for one quote); a bare field loses its
// surrounding blanks.
std::vector<std::string> ReadFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::string field;
    if (i < line.size() && line[i] == '"') {
      for (++i; i < line.size(); ++i) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        field += line[i];
      }
      while (i < line.size() && line[i] != ',') ++i;
    } else {
      while (i < line.size() && line[i] != ',') field += line[i++];
      while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) break;
    ++i;  // the comma
  }
  return fields;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

// "True"/"False" in any case, or a number: 0 clears the mark, any other sets it.
bool ParseMark(const std::string& text, bool* checked) {
  if (EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "false")) {
    *checked = EqualsIgnoringCase(text, "true");
    return true;
  }
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  bool digits = false, nonZero = false, point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      nonZero = nonZero || c != '0';
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  *checked = nonZero;
  return true;
}

}  // namespace

SnapshotFiles SnapshotPaths(const std::string& systemDirectory) {
  return {systemDirectory + "\\morvane1.txt", systemDirectory + "\\morvane2.txt",
          systemDirectory + "\\morvane3.txt"};
}

bool FormatSnapshot(const std::vector<StartupEntry>& rows, SnapshotFiles* bytes, int* offending) {
  SnapshotFiles out;
  if (rows.size() > static_cast<std::size_t>(kMaxSnapshotRows)) {
    *offending = kMaxSnapshotRows;  // the first row a restore could not take back
    return false;
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const StartupEntry& row = rows[i];
    if (HasLineBreak(row.name) || HasLineBreak(row.commandLine) || HasLineBreak(row.tag)) {
      *offending = static_cast<int>(i);
      return false;
    }
    out.names += Quoted(row.name) + "," + (row.enabled ? "\"True\"" : "\"False\"") + kLineEnd;
    out.commandLines += row.commandLine + kLineEnd;
    out.tags += row.tag + kLineEnd;
  }
  *bytes = std::move(out);
  return true;
}

Status WriteSnapshotFiles(FileSystemApi& files, const SnapshotFiles& paths,
                          const SnapshotFiles& bytes, std::string* failedPath) {
  return WriteKeptFiles(files,
                        {{paths.names, bytes.names},
                         {paths.commandLines, bytes.commandLines},
                         {paths.tags, bytes.tags}},
                        failedPath);
}

bool ParseSnapshot(const SnapshotFiles& bytes, std::vector<StartupEntry>* rows) {
  // Split no further than the rows a restore accepts, so that memory follows
  // them, not the size of the files. A lone CR ends a command line too: no
  // restored row holds a line break that the save would then refuse.
  bool more = false, moreCommands = false, moreTags = false;
  std::vector<std::string> nameLines = SplitLines(bytes.names, kMaxSnapshotRows, &more);
  const std::size_t count = nameLines.size();
  std::vector<std::string> commandLines = SplitLines(bytes.commandLines, count, &moreCommands);
  std::vector<std::string> tagLines = SplitLines(bytes.tags, count, &moreTags);
  if (more || moreCommands || moreTags || commandLines.size() != count || tagLines.size() != count)
    return false;
  std::vector<StartupEntry> parsed(nameLines.size());
  for (std::size_t i = 0; i < nameLines.size(); ++i) {
    std::vector<std::string> fields = ReadFields(nameLines[i]);
    if (fields.size() != 2 || !ParseMark(fields[1], &parsed[i].enabled)) return false;
    parsed[i].name = std::move(fields[0]);
    parsed[i].commandLine = std::move(commandLines[i]);
    parsed[i].tag = std::move(ReadFields(tagLines[i])[0]);
  }
  *rows = std::move(parsed);
  return true;
}

}  // namespace qel

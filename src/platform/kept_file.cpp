#include "platform/kept_file.h"

namespace qel {
namespace {

constexpr std::uint32_t kKeptAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem;

std::string TemporaryOf(const std::string& path) { return path + ".tmp"; }

// A file with a clear read-only bit can be renamed over and deleted.
void RemoveFile(FileSystemApi& files, const std::string& path) {
  files.SetAttributes(path, 0);
  files.DeleteFile(path);
}

// Without MoveFileExA (Windows 9x) the old file steps aside as .bak until the
// new one is in place, so that one of them is always there.
Status ReplaceByTwoRenames(FileSystemApi& files, const std::string& from, const std::string& to,
                           bool targetExists) {
  const std::string old = to + ".bak";
  if (files.Exists(old)) RemoveFile(files, old);
  if (targetExists)
    if (Status status = files.MoveFile(to, old, false)) return status;
  if (Status status = files.MoveFile(from, to, false)) {
    if (targetExists) files.MoveFile(old, to, false);
    return status;
  }
  if (targetExists) RemoveFile(files, old);
  return kOk;
}

struct Prepared {
  const KeptFile* file;
  bool existed = false;
  std::uint32_t attributes = 0;  // the kept ones
  bool readBefore = false;
  std::string before = {};  // the old bytes, to undo a half-done set
};

// Writes the temporary file with the attributes the file has now.
Status Prepare(FileSystemApi& files, bool keepOldBytes, Prepared* prepared) {
  const std::string& path = prepared->file->path;
  const std::string temporary = TemporaryOf(path);
  std::uint32_t attributes = 0;
  prepared->existed = files.GetAttributes(path, &attributes) == kOk;
  prepared->attributes = prepared->existed ? attributes & kKeptAttributes : 0;
  if (prepared->existed && keepOldBytes)
    prepared->readBefore = files.ReadFile(path, &prepared->before) == kOk;
  // One left by a crash may carry attributes that refuse the write.
  if (files.Exists(temporary)) files.SetAttributes(temporary, 0);
  Status status = files.WriteFile(temporary, prepared->file->bytes);
  if (status == kOk && prepared->attributes)
    status = files.SetAttributes(temporary, prepared->attributes);
  return status;
}

Status PutInPlace(FileSystemApi& files, const Prepared& prepared) {
  const std::string& path = prepared.file->path;
  // A read-only file refuses to be replaced; the new one carries the bit.
  if (prepared.attributes & kAttrReadOnly)
    if (Status status = files.SetAttributes(path, prepared.attributes & ~kAttrReadOnly))
      return status;
  Status status = files.MoveFile(TemporaryOf(path), path, true);
  if (status == kCallNotImplemented)
    status = ReplaceByTwoRenames(files, TemporaryOf(path), path, prepared.existed);
  if (status != kOk && (prepared.attributes & kAttrReadOnly))
    files.SetAttributes(path, prepared.attributes);
  return status;
}

void RemoveTemporaries(FileSystemApi& files, const std::vector<Prepared>& prepared,
                       std::size_t from) {
  for (std::size_t i = from; i < prepared.size(); ++i)
    RemoveFile(files, TemporaryOf(prepared[i].file->path));
}

}  // namespace

Status WriteKeptFiles(FileSystemApi& files, const std::vector<KeptFile>& kept,
                      std::string* failedPath) {
  std::vector<Prepared> prepared;
  prepared.reserve(kept.size());
  for (const KeptFile& file : kept) {
    prepared.push_back({&file});
    if (Status status = Prepare(files, kept.size() > 1, &prepared.back())) {
      RemoveTemporaries(files, prepared, 0);
      *failedPath = file.path;
      return status;
    }
  }
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    Status status = PutInPlace(files, prepared[i]);
    if (status == kOk) continue;
    RemoveTemporaries(files, prepared, i);
    for (std::size_t j = 0; j < i; ++j) {
      std::string ignored;
      if (!prepared[j].existed)
        RemoveFile(files, prepared[j].file->path);
      else if (prepared[j].readBefore)
        WriteKeptFiles(files, {{prepared[j].file->path, prepared[j].before}}, &ignored);
    }
    *failedPath = prepared[i].file->path;
    return status;
  }
  return kOk;
}

}  // namespace qel

// Folders, attributes and whole-file reads and writes.
#include <algorithm>
#include <string>
#include <vector>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

class Files : public ContractTest {
 protected:
  std::string At(const std::string& name) { return Scratch() + "\\" + name; }
  std::string Read(const std::string& name) {
    std::string bytes;
    Status status = files().ReadFile(At(name), &bytes);
    return status == kOk ? bytes : "<" + std::to_string(status) + ">";
  }
  std::uint32_t AttributesOf(const std::string& path) {
    std::uint32_t attributes = 0xFFFFFFFFu;
    EXPECT_EQ(kOk, files().GetAttributes(path, &attributes)) << path;
    return attributes;
  }
};

// Wine keeps the archive bit on every file: "no attributes" reads back as
// archive alone, never as normal.
TEST_F(Files, ListingShowsEveryFileAndFolderWithAttributesAsSet) {
  const std::string chinese = sys().ToAnsi("启动项.lnk");
  const struct {
    std::string name;
    std::uint32_t set, listed;
  } cases[] = {
      {"plain.lnk", 0, kAttrArchive},
      {"normal", kAttrNormal, kAttrArchive},
      {"hidden.lnk", kAttrHidden, kAttrHidden | kAttrArchive},
      {"system.lnk", kAttrSystem | kAttrHidden, kAttrSystem | kAttrHidden | kAttrArchive},
      {"ro.lnk", kAttrReadOnly, kAttrReadOnly | kAttrArchive},
      {chinese, 0, kAttrArchive},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(kOk, files().WriteFile(At(c.name), "x")) << c.name;
    ASSERT_EQ(kOk, files().SetAttributes(At(c.name), c.set)) << c.name;
  }
  std::vector<FileEntry> entries;
  ASSERT_EQ(kOk, files().ListFolder(Scratch() + "\\", &entries));
  ASSERT_EQ(std::size(cases), entries.size());
  for (const auto& c : cases) {
    auto found = std::find_if(entries.begin(), entries.end(), [&](const FileEntry& e) { return e.name == c.name; });
    ASSERT_NE(entries.end(), found) << c.name;
    EXPECT_EQ(c.listed, found->attributes) << c.name;
    EXPECT_EQ(c.listed, AttributesOf(At(c.name)));
  }
  EXPECT_EQ(kAccessDenied, files().DeleteFile(At("ro.lnk"))) << "read-only until cleared";
  ASSERT_EQ(kOk, files().SetAttributes(At("ro.lnk"), 0));
  EXPECT_EQ(kOk, files().DeleteFile(At("RO.LNK")));
  EXPECT_FALSE(files().Exists(At("ro.lnk")));

  const std::size_t cut = Scratch().rfind('\\');
  ASSERT_EQ(kOk, files().ListFolder(Scratch().substr(0, cut), &entries));
  auto self = std::find_if(entries.begin(), entries.end(),
                           [&](const FileEntry& e) { return e.name == Scratch().substr(cut + 1); });
  ASSERT_NE(entries.end(), self);
  EXPECT_EQ(kAttrDirectory, self->attributes & (kAttrDirectory | kAttrArchive));
  ASSERT_EQ(kOk, files().SetAttributes(Scratch(), kAttrHidden));
  EXPECT_EQ(kAttrDirectory | kAttrHidden, AttributesOf(Scratch())) << "a folder keeps its directory bit";
  ASSERT_EQ(kOk, files().SetAttributes(Scratch(), 0));
  EXPECT_EQ(kAttrDirectory, AttributesOf(Scratch()));
}

TEST_F(Files, MissingOrWrongThingsGiveTheirOwnStatuses) {
  std::vector<FileEntry> entries;
  std::uint32_t attributes = 0;
  std::string bytes;
  EXPECT_EQ(kPathNotFound, files().ListFolder(At("nofolder"), &entries));
  EXPECT_EQ(kFileNotFound, files().GetAttributes(At("nofile.txt"), &attributes));
  EXPECT_EQ(kPathNotFound, files().GetAttributes(At("nofolder\\x.txt"), &attributes));
  EXPECT_EQ(kFileNotFound, files().ReadFile(At("nofile.txt"), &bytes));
  EXPECT_EQ(kFileNotFound, files().DeleteFile(At("nofile.txt")));
  EXPECT_EQ(kFileNotFound, files().SetAttributes(At("nofile.txt"), kAttrHidden));
  EXPECT_EQ(kPathNotFound, files().WriteFile(At("nofolder\\x.txt"), "x"));
  EXPECT_FALSE(files().Exists(At("nofile.txt")));
  EXPECT_EQ(kAccessDenied, files().ReadFile(Scratch(), &bytes)) << "a folder";
  EXPECT_EQ(kAccessDenied, files().WriteFile(Scratch(), "x"));
  EXPECT_EQ(kAccessDenied, files().DeleteFile(Scratch()));
}

TEST_F(Files, WritesReplaceTheWholeFileKeepingItsAttributes) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  all += sys().ToAnsi("进程说明\r\n") + std::string(70 * 1024, 'z');
  const std::string chinese = sys().ToAnsi("启动快照.txt");
  ASSERT_EQ(kOk, files().WriteFile(At(chinese), all));
  EXPECT_TRUE(Read(chinese) == all) << "the bytes differ";
  ASSERT_EQ(kOk, files().WriteFile(At("empty.txt"), ""));
  EXPECT_EQ("", Read("EMPTY.TXT"));

  ASSERT_EQ(kOk, files().WriteFile(At("h.txt"), "a long first text"));
  ASSERT_EQ(kOk, files().SetAttributes(At("h.txt"), kAttrHidden | kAttrSystem));
  ASSERT_EQ(kOk, files().WriteFile(At("h.txt"), "new"));
  EXPECT_EQ("new", Read("h.txt"));
  EXPECT_EQ(kAttrHidden | kAttrSystem | kAttrArchive, AttributesOf(At("h.txt")));
}

}  // namespace
}  // namespace qel::test

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

  ::testing::AssertionResult Write(const std::string& name, const std::string& bytes) {
    Status status = files().WriteFile(At(name), bytes);
    if (status != kOk) return ::testing::AssertionFailure() << "WriteFile gave " << status;
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult ExpectBytes(const std::string& name, const std::string& bytes) {
    std::string read;
    Status status = files().ReadFile(At(name), &read);
    if (status != kOk) return ::testing::AssertionFailure() << "ReadFile gave " << status;
    if (read != bytes) {
      return ::testing::AssertionFailure()
             << "file holds [" << Hex(read) << "], expected [" << Hex(bytes) << "]";
    }
    return ::testing::AssertionSuccess();
  }
  std::uint32_t AttributesOf(const std::string& name) {
    std::uint32_t attributes = 0xFFFFFFFFu;
    EXPECT_EQ(kOk, files().GetAttributes(At(name), &attributes)) << name;
    return attributes;
  }
};

TEST_F(Files, ListingShowsHiddenSystemFilesAndFolders) {
  std::vector<FileEntry> entries;
  ASSERT_EQ(kOk, files().ListFolder(Scratch(), &entries));
  EXPECT_TRUE(entries.empty());

  const std::string chinese = sys().ToAnsi("启动项.lnk");
  for (const std::string& name : {std::string("plain.lnk"), std::string("hidden.lnk"),
                                  std::string("system.lnk"), std::string("noext"), chinese}) {
    ASSERT_TRUE(Write(name, "x"));
  }
  ASSERT_EQ(kOk, files().SetAttributes(At("hidden.lnk"), kAttrHidden));
  ASSERT_EQ(kOk, files().SetAttributes(At("system.lnk"), kAttrSystem | kAttrHidden));
  ASSERT_EQ(kOk, files().SetAttributes(At("plain.lnk"), 0));
  ASSERT_TRUE(Write("sub", ""));  // replaced by a folder below
  ASSERT_EQ(kOk, files().DeleteFile(At("sub")));

  ASSERT_EQ(kOk, files().ListFolder(Scratch(), &entries));
  std::sort(entries.begin(), entries.end(),
            [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
  std::vector<std::string> names;
  for (const FileEntry& entry : entries) names.push_back(entry.name);
  std::vector<std::string> expected = {"hidden.lnk", "noext", "plain.lnk", "system.lnk", chinese};
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(expected, names);
  for (const FileEntry& entry : entries) {
    std::uint32_t expectedAttributes = kAttrArchive;
    if (entry.name == "hidden.lnk") expectedAttributes |= kAttrHidden;
    if (entry.name == "system.lnk") expectedAttributes |= kAttrSystem | kAttrHidden;
    EXPECT_EQ(expectedAttributes, entry.attributes) << entry.name;
  }
}

TEST_F(Files, ListingShowsSubfoldersWithTheDirectoryBit) {
  std::vector<FileEntry> entries;
  ASSERT_EQ(kOk, files().ListFolder(Scratch(), &entries));
  const std::string folder = Scratch();
  const std::string parent = folder.substr(0, folder.rfind('\\'));
  const std::string leaf = folder.substr(folder.rfind('\\') + 1);
  ASSERT_EQ(kOk, files().ListFolder(parent, &entries));
  auto found = std::find_if(entries.begin(), entries.end(),
                            [&](const FileEntry& e) { return e.name == leaf; });
  ASSERT_NE(entries.end(), found);
  EXPECT_TRUE(found->attributes & kAttrDirectory);
  EXPECT_EQ(kOk, files().ListFolder(folder + "\\", &entries)) << "a trailing backslash";
}

TEST_F(Files, MissingThingsGiveTheirOwnStatuses) {
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
  EXPECT_TRUE(files().Exists(Scratch()));
}

// Wine keeps the archive bit on every file: "no attributes" reads back as
// archive alone, never as normal.
TEST_F(Files, AttributesAreWhatWasSetWithArchiveAlwaysOn) {
  ASSERT_TRUE(Write("a.txt", "x"));
  EXPECT_EQ(kAttrArchive, AttributesOf("a.txt")) << "a new file";
  ASSERT_EQ(kOk, files().SetAttributes(At("a.txt"), kAttrHidden));
  EXPECT_EQ(kAttrHidden | kAttrArchive, AttributesOf("a.txt"));
  ASSERT_EQ(kOk, files().SetAttributes(At("a.txt"), kAttrReadOnly | kAttrSystem));
  EXPECT_EQ(kAttrReadOnly | kAttrSystem | kAttrArchive, AttributesOf("A.TXT"));
  ASSERT_EQ(kOk, files().SetAttributes(At("a.txt"), 0));
  EXPECT_EQ(kAttrArchive, AttributesOf("a.txt"));
  ASSERT_EQ(kOk, files().SetAttributes(At("a.txt"), kAttrNormal));
  EXPECT_EQ(kAttrArchive, AttributesOf("a.txt"));
  EXPECT_TRUE(files().Exists(At("A.txt")));
}

TEST_F(Files, AFolderKeepsItsDirectoryBit) {
  std::uint32_t attributes = 0;
  ASSERT_EQ(kOk, files().SetAttributes(Scratch(), kAttrHidden));
  ASSERT_EQ(kOk, files().GetAttributes(Scratch(), &attributes));
  EXPECT_EQ(kAttrDirectory | kAttrHidden, attributes);
  ASSERT_EQ(kOk, files().SetAttributes(Scratch(), 0));
  ASSERT_EQ(kOk, files().GetAttributes(Scratch(), &attributes));
  EXPECT_EQ(kAttrDirectory, attributes);
  std::string bytes;
  EXPECT_EQ(kAccessDenied, files().ReadFile(Scratch(), &bytes));
  EXPECT_EQ(kAccessDenied, files().WriteFile(Scratch(), "x"));
  EXPECT_EQ(kAccessDenied, files().DeleteFile(Scratch()));
}

TEST_F(Files, AReadOnlyFileIsDeletedOnlyAfterItsAttributesAreCleared) {
  ASSERT_TRUE(Write("ro.lnk", "x"));
  ASSERT_EQ(kOk, files().SetAttributes(At("ro.lnk"), kAttrReadOnly));
  EXPECT_EQ(kAccessDenied, files().DeleteFile(At("ro.lnk")));
  EXPECT_TRUE(ExpectBytes("ro.lnk", "x"));
  ASSERT_EQ(kOk, files().SetAttributes(At("ro.lnk"), 0));
  EXPECT_EQ(kOk, files().DeleteFile(At("ro.lnk")));
  EXPECT_FALSE(files().Exists(At("ro.lnk")));
}

TEST_F(Files, BytesRoundTripUnderChineseNames) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  all += "\r\n" + sys().ToAnsi("进程说明\r\n");
  std::string big(70 * 1024, 'z');
  const std::string chinese = sys().ToAnsi("启动快照.txt");

  ASSERT_TRUE(Write(chinese, all));
  EXPECT_TRUE(ExpectBytes(chinese, all));
  ASSERT_TRUE(Write("big.bin", big));
  EXPECT_TRUE(ExpectBytes("BIG.BIN", big));
  ASSERT_TRUE(Write("empty.txt", ""));
  EXPECT_TRUE(ExpectBytes("empty.txt", ""));
}

TEST_F(Files, WritingReplacesTheWholeFile) {
  ASSERT_TRUE(Write("t.txt", "a long first text"));
  ASSERT_EQ(kOk, files().SetAttributes(At("t.txt"), 0));
  ASSERT_TRUE(Write("t.txt", "short"));
  EXPECT_TRUE(ExpectBytes("t.txt", "short"));
  EXPECT_EQ(kAttrArchive, AttributesOf("t.txt"));
}

TEST_F(Files, AHiddenSystemFileIsOverwrittenAndStaysHidden) {
  ASSERT_TRUE(Write("h.txt", "old text"));
  ASSERT_EQ(kOk, files().SetAttributes(At("h.txt"), kAttrHidden | kAttrSystem));
  ASSERT_TRUE(Write("h.txt", "new"));
  EXPECT_TRUE(ExpectBytes("h.txt", "new"));
  EXPECT_EQ(kAttrHidden | kAttrSystem | kAttrArchive, AttributesOf("h.txt"));
}

TEST_F(Files, AFileUsedAsAFolderIsRefused) {
  ASSERT_TRUE(Write("f.txt", "x"));
  std::vector<FileEntry> entries;
  std::uint32_t attributes = 0;
  const Status kInvalidName = 123;
  EXPECT_EQ(kInvalidName, files().ListFolder(At("f.txt"), &entries));
  EXPECT_EQ(kPathNotFound, files().GetAttributes(At("f.txt\\x"), &attributes));
  EXPECT_EQ(kPathNotFound, files().WriteFile(At("f.txt\\x"), "y"));
  EXPECT_EQ(kPathNotFound, files().DeleteFile(At("f.txt\\x")));
  EXPECT_FALSE(files().Exists(At("f.txt\\x")));
}

}  // namespace
}  // namespace qel::test

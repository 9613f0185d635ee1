// Folder listings, existence, deletion, the current folder and full paths.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

const FolderEntry* Find(const std::vector<FolderEntry>& entries, const std::string& name) {
  for (const FolderEntry& entry : entries)
    if (entry.name == name) return &entry;
  return nullptr;
}

// Restores the current folder at the end of a test.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() : saved_(fs::current_path()) {}
  ~CurrentFolderKeeper() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

TEST(FilesTest, ListingFindsCreatedEntriesWithTheirAttributesInNameOrder) {
  ScratchFolder folder;
  folder.Write("b.txt", "abc");
  folder.Write("Иванов.zrn", "0123456789");
  fs::create_directory(folder / "sub");
  fs::create_directory(folder / ".hidden");
  fs::create_directory_symlink(folder / "sub", folder / "link");

  std::vector<FolderEntry> entries;
  std::string error;
  ASSERT_TRUE(ListFolder(folder.Path(), entries, &error)) << error;
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name);
  // Byte order: '.' < 'b' < 'l' < 's' < the UTF-8 lead byte of 'И' (0xD0).
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "b.txt", "link", "sub", "Иванов.zrn"}));

  const FolderEntry* text = Find(entries, "b.txt");
  const FolderEntry* chart = Find(entries, "Иванов.zrn");
  const FolderEntry* sub = Find(entries, "sub");
  const FolderEntry* link = Find(entries, "link");
  const FolderEntry* hidden = Find(entries, ".hidden");
  ASSERT_TRUE(text && chart && sub && link && hidden);
  EXPECT_EQ(text->size, 3u);
  EXPECT_EQ(chart->size, 10u);
  EXPECT_FALSE(chart->isFolder);
  EXPECT_TRUE(sub->isFolder);
  EXPECT_EQ(sub->size, 0u);
  EXPECT_TRUE(link->isFolder);
  EXPECT_TRUE(link->isLink);
  EXPECT_TRUE(hidden->isHidden);
  EXPECT_FALSE(sub->isHidden);
  // Only the ordinary folder is entered by a walk.
  EXPECT_TRUE(IsPlainFolder(*sub));
  EXPECT_FALSE(IsPlainFolder(*link));
  EXPECT_FALSE(IsPlainFolder(*hidden));
  EXPECT_FALSE(IsPlainFolder(*text));
}

TEST(FilesTest, ListingMarksReadOnlyEntries) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser may write every file";
  ScratchFolder folder;
  folder.Write("locked.opt", "1");
  fs::create_directory(folder / "locked");
  chmod((folder / "locked.opt").c_str(), 0444);
  chmod((folder / "locked").c_str(), 0555);
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(folder.Path(), entries));
  EXPECT_TRUE(Find(entries, "locked.opt")->isReadOnly);
  EXPECT_TRUE(Find(entries, "locked")->isReadOnly);
  EXPECT_FALSE(IsPlainFolder(*Find(entries, "locked")));
  chmod((folder / "locked").c_str(), 0755);
}

TEST(FilesTest, ListingAMissingFolderFailsWithItsPath) {
  ScratchFolder folder;
  std::vector<FolderEntry> entries{FolderEntry{}};
  std::string error;
  EXPECT_FALSE(ListFolder(folder / "absent", entries, &error));
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(error, "Cannot open folder " + folder / "absent");
  EXPECT_TRUE(ListFolder(folder.Path(), entries));
  EXPECT_TRUE(entries.empty());
}

TEST(FilesTest, ExistenceOfFilesFoldersAndBrokenLinks) {
  ScratchFolder folder;
  folder.Write("a.opt", "");
  fs::create_symlink(folder / "gone.opt", folder / "broken");
  EXPECT_TRUE(PathExists(folder / "a.opt"));
  EXPECT_FALSE(FolderExists(folder / "a.opt"));
  EXPECT_TRUE(PathExists(folder.Path()));
  EXPECT_TRUE(FolderExists(folder.Path()));
  EXPECT_FALSE(PathExists(folder / "gone.opt"));
  EXPECT_FALSE(PathExists(folder / "broken"));
  EXPECT_FALSE(PathExists(""));
  EXPECT_FALSE(FolderExists(""));
}

TEST(FilesTest, RemoveFileDeletesFilesAndLinksButNotFolders) {
  ScratchFolder folder;
  folder.Write("wspom.txt", "x");
  folder.Write("target.txt", "y");
  fs::create_directory(folder / "sub");
  fs::create_symlink(folder / "target.txt", folder / "link");
  std::string error;
  EXPECT_TRUE(RemoveFile(folder / "wspom.txt", &error)) << error;
  EXPECT_TRUE(RemoveFile(folder / "link"));
  EXPECT_TRUE(PathExists(folder / "target.txt"));
  EXPECT_FALSE(RemoveFile(folder / "sub", &error));
  EXPECT_EQ(error, "Cannot delete file " + folder / "sub");
  EXPECT_TRUE(FolderExists(folder / "sub"));
  EXPECT_FALSE(RemoveFile(folder / "wspom.txt"));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"sub", "target.txt"}));
}

TEST(FilesTest, CurrentFolderIsSetQueriedAndBasesRelativePaths) {
  CurrentFolderKeeper keeper;
  ScratchFolder folder;
  fs::create_directory(folder / "Options");
  ASSERT_TRUE(SetCurrentFolder(folder / "Options"));
  EXPECT_EQ(CurrentFolder(), folder / "Options");
  EXPECT_EQ(ExpandFullPath("../Print/IPH1.diz"), folder / "Print/IPH1.diz");
  EXPECT_EQ(ExpandFullPath(""), folder / "Options");

  std::string error;
  EXPECT_FALSE(SetCurrentFolder(folder / "absent", &error));
  EXPECT_EQ(error, "Cannot open folder " + folder / "absent");
  EXPECT_EQ(CurrentFolder(), folder / "Options");
}

TEST(FilesTest, FullPathsAreNormalisedByName) {
  EXPECT_EQ(ExpandFullPath("/a/b/../c/./d/"), "/a/c/d");
  EXPECT_EQ(ExpandFullPath("//a//b"), "/a/b");
  EXPECT_EQ(ExpandFullPath("/"), "/");
  EXPECT_EQ(ExpandFullPath("/.."), "/");
}

}  // namespace

// Whole-file line reading and atomic writing, in a private temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/textfile.h"

namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = fs::temp_directory_path() /
              ("platform_text_test_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(folder_);
    ASSERT_TRUE(fs::create_directory(folder_));
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder_, ec);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  void WriteRaw(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out << bytes;
  }
  std::string ReadRaw(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  LineList Read(const std::string& bytes) {
    WriteRaw("in.txt", bytes);
    LineList lines;
    EXPECT_TRUE(ReadLines(PathOf("in.txt"), lines));
    return lines;
  }
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
};

// Runs a block with the effective user id of an unprivileged user, so that
// permission checks apply even when the tests run as root.
class UnprivilegedScope {
 public:
  UnprivilegedScope() : active_(::geteuid() != 0 || ::seteuid(kNobody) == 0) {}
  ~UnprivilegedScope() {
    if (active_ && ::geteuid() == kNobody) (void)::seteuid(0);
  }
  bool active() const { return active_; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool active_;
};

TEST_F(TextFileTest, ReadsEveryLineEnding) {
  EXPECT_EQ(Read("one\r\ntwo\r\n"), (LineList{"one", "two"}));
  EXPECT_EQ(Read("one\ntwo\n"), (LineList{"one", "two"}));
  EXPECT_EQ(Read("one\r\ntwo"), (LineList{"one", "two"}));
  EXPECT_EQ(Read("one\r\n\r\nthree\r\n"), (LineList{"one", "", "three"}));
  // A lone CR ends a line too: a doubled CR gives an empty line after each.
  EXPECT_EQ(Read("a\r\rb\r\r"), (LineList{"a", "", "b", ""}));
  EXPECT_EQ(Read("\r\n"), (LineList{""}));
  EXPECT_EQ(Read(""), LineList{});
}

TEST_F(TextFileTest, MissingFileIsAnErrorNamingThePath) {
  LineList lines{"stale"};
  std::string error;
  const std::string path = PathOf("absent.opt");
  EXPECT_FALSE(ReadLines(path, lines, &error));
  EXPECT_TRUE(lines.empty());
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_FALSE(ReadLines(folder_.string(), lines, &error));  // a folder is no file
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(FileExists(folder_.string()));
}

TEST_F(TextFileTest, WriteUsesCrLfAndKeepsEveryByte) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  }
  const LineList lines{"55,75", "", bytes};
  ASSERT_TRUE(WriteLinesAtomic(PathOf("out.opt"), lines));
  EXPECT_EQ(ReadRaw("out.opt"), "55,75\r\n\r\n" + bytes + "\r\n");
  LineList back;
  ASSERT_TRUE(ReadLines(PathOf("out.opt"), back));
  EXPECT_EQ(back, lines);
  EXPECT_TRUE(FileExists(PathOf("out.opt")));

  ASSERT_TRUE(WriteLinesAtomic(PathOf("empty.opt"), {}));
  EXPECT_EQ(ReadRaw("empty.opt"), "");
}

TEST_F(TextFileTest, WriteReplacesContentAndLeavesNoTemporaryFile) {
  WriteRaw("CS.opt", "a much longer old content\r\nwith two lines\r\n");
  fs::permissions(PathOf("CS.opt"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteLinesAtomic(PathOf("CS.opt"), {"1"}));
  EXPECT_EQ(ReadRaw("CS.opt"), "1\r\n");
  EXPECT_EQ(EntryCount(), 1u);
  EXPECT_EQ(fs::status(PathOf("CS.opt")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(TextFileTest, WriteThroughALinkReplacesItsTarget) {
  WriteRaw("real.opt", "old\r\n");
  fs::create_symlink(PathOf("real.opt"), PathOf("link.opt"));
  ASSERT_TRUE(WriteLinesAtomic(PathOf("link.opt"), {"new"}));
  EXPECT_TRUE(fs::is_symlink(PathOf("link.opt")));
  EXPECT_EQ(ReadRaw("real.opt"), "new\r\n");
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileIntact) {
  std::string error;
  // A folder that does not exist.
  EXPECT_FALSE(WriteLinesAtomic(PathOf("no/such/file.opt"), {"x"}, &error));
  EXPECT_NE(error.find("file.opt"), std::string::npos) << error;
  // A folder standing where the file should be.
  fs::create_directory(PathOf("sub"));
  WriteRaw("sub/keep.txt", "kept");
  EXPECT_FALSE(WriteLinesAtomic(PathOf("sub"), {"x"}, &error));
  EXPECT_EQ(ReadRaw("sub/keep.txt"), "kept");
  EXPECT_EQ(EntryCount(), 1u);

  // A folder the user may not write into, and a read-only file.
  WriteRaw("old.opt", "old\r\n");
  fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  {
    UnprivilegedScope unprivileged;
    if (!unprivileged.active()) GTEST_SKIP() << "cannot drop privileges";
    EXPECT_FALSE(WriteLinesAtomic(PathOf("old.opt"), {"new"}, &error));
  }
  EXPECT_EQ(ReadRaw("old.opt"), "old\r\n");
  EXPECT_EQ(EntryCount(), 2u);
  fs::permissions(folder_, fs::perms::all);
  fs::permissions(PathOf("old.opt"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  {
    UnprivilegedScope unprivileged;
    EXPECT_FALSE(WriteLinesAtomic(PathOf("old.opt"), {"new"}, &error));
  }
  EXPECT_EQ(ReadRaw("old.opt"), "old\r\n");
  EXPECT_EQ(EntryCount(), 2u);
}

// A written file whose rename fails (a folder took its name meanwhile) is
// removed, or kept and found again among the leftovers of its target; the
// error number says why.
TEST_F(TextFileTest, AFailedCommitRemovesOrKeepsTheWrittenFile) {
  for (const OnCommitFailure onFailure : {OnCommitFailure::Remove, OnCommitFailure::Keep}) {
    PendingFile pending;
    ASSERT_TRUE(WriteLinesPending(PathOf("taken.opt"), {"new"}, pending));
    EXPECT_EQ(LeftoverTemporaryFiles(PathOf("taken.opt")),
              std::vector<std::string>{pending.Temporary});
    fs::create_directory(PathOf("taken.opt"));
    WriteRaw("taken.opt/inside", "");
    EXPECT_FALSE(CommitPendingFile(pending, nullptr, onFailure));
    EXPECT_NE(pending.Error, 0);
    const bool kept = onFailure == OnCommitFailure::Keep;
    EXPECT_EQ(LeftoverTemporaryFiles(PathOf("taken.opt")).size(), kept ? 1u : 0u);
    if (kept) EXPECT_EQ(ReadRaw(fs::path(pending.Temporary).filename().string()), "new\r\n");
    DiscardPendingFile(pending);
    fs::remove_all(PathOf("taken.opt"));
  }
  EXPECT_EQ(EntryCount(), 0u);
}

// A lock is held by one taker at a time, waited for, and leaves no file;
// its file and the temporary files of a long name stay within a file name's
// 255 bytes and keep the target's extension.
TEST_F(TextFileTest, LocksExcludeEachOtherAndLongNamesKeepTheirExtension) {
  const std::string target = PathOf("base.zrn");
  FileLock first, second;
  ASSERT_EQ(first.Acquire(target, 0), FileLock::State::Held);
  EXPECT_TRUE(FileExists(LockFileOf(target)));
  EXPECT_EQ(second.Acquire(target, 30), FileLock::State::Busy);
  std::thread release([&first] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    first.Release();
  });
  EXPECT_EQ(second.Acquire(target, 5000), FileLock::State::Held);
  release.join();
  second.Release();
  EXPECT_FALSE(FileExists(LockFileOf(target)));
  EXPECT_EQ(second.Acquire(PathOf("missing/base.zrn"), 0), FileLock::State::Unavailable);

  std::string stem;
  for (int i = 0; i < 125; ++i) stem += "\xD0\xB6";  // 250 bytes
  for (const char* extension : {".zrn", ".zrt"}) {
    PendingFile pending;
    ASSERT_TRUE(WriteTextPending(PathOf(stem + extension), "x", "0123456789abcdef", pending));
    const std::string name = fs::path(pending.Temporary).filename().string();
    EXPECT_LE(name.size(), 255u);
    EXPECT_NE(name.find(std::string(extension) + ".tmp"), std::string::npos) << name;
    EXPECT_EQ(TemporaryFileTag(pending.Temporary), "0123456789abcdef");
    EXPECT_EQ(LeftoverTemporaryFiles(PathOf(stem + extension)),
              std::vector<std::string>{pending.Temporary});
    DiscardPendingFile(pending);
    EXPECT_LE(fs::path(LockFileOf(PathOf(stem + extension))).filename().string().size(), 255u);
  }
}

// The fingerprint tells apart every prefix of a text and every text that
// differs from it in one bit.
TEST(TextFingerprint, EveryPrefixAndEveryOneBitChangeDiffers) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char>((i * 37) % 256);
  std::set<std::uint64_t> seen;
  for (std::size_t n = 0; n <= text.size(); ++n)
    EXPECT_TRUE(seen.insert(TextFingerprint(std::string_view(text).substr(0, n))).second) << n;
  for (std::size_t at = 0; at < text.size(); ++at)
    for (int bit = 0; bit < 8; ++bit) {
      std::string changed = text;
      changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
      EXPECT_TRUE(seen.insert(TextFingerprint(changed)).second) << at << " " << bit;
    }
  EXPECT_EQ(TextFingerprint(text), TextFingerprint(std::string(text)));
}

}  // namespace

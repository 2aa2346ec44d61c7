// The atomic file writer: a save either replaces the target whole or changes nothing,
// and never leaves its temporary file behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/sysmacros.h>

#include <filesystem>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "test_support.h"

namespace strimlo {
namespace {

namespace fs = std::filesystem;

// Every name in a folder, sorted, so that a stray temporary file shows in a failure.
std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Sets the umask for one test and puts the old one back.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }

 private:
  mode_t old_;
};

TEST(AtomicFile, NewFileGetsTheBytesAndTheUsualModeForNewFiles) {
  struct Row {
    mode_t umask;
    mode_t expected;
  };
  for (const Row& row : {Row{022, 0644}, Row{077, 0600}, Row{002, 0664}}) {
    SCOPED_TRACE(row.umask);
    ScopedUmask mask(row.umask);
    test::TempDir dir;
    const std::string path = dir.file("new.png");
    ASSERT_TRUE(writeFileAtomically(path, "new bytes"));
    EXPECT_EQ(test::readFile(path), "new bytes");
    EXPECT_EQ(modeOf(path), row.expected);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"new.png"});
  }
}

TEST(AtomicFile, ReplacesAnExistingFileKeepingItsModeBits) {
  for (mode_t mode : {0640, 0600, 0755, 0444}) {
    SCOPED_TRACE(mode);
    test::TempDir dir;
    const std::string path = dir.file("old.tiff");
    test::writeFile(path, "old bytes, longer than the new ones");
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(test::readFile(path), "new");
    EXPECT_EQ(modeOf(path), mode);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"old.tiff"});
  }
}

TEST(AtomicFile, EmptyContentMakesAnEmptyFile) {
  test::TempDir dir;
  const std::string path = dir.file("empty");
  test::writeFile(path, "something");
  ASSERT_TRUE(writeFileAtomically(path, ""));
  EXPECT_EQ(test::readFile(path), "");
}

// Until the commit, the target still holds the old bytes and the new ones sit in one
// hidden file beside it, under a short name that leaves room for any target name.
TEST(AtomicFile, TargetKeepsItsOldBytesUntilTheCommit) {
  test::TempDir dir;
  const std::string path = dir.file("a.jpg");
  test::writeFile(path, "old");
  AtomicFile file(path);
  ASSERT_TRUE(file.ok());
  ASSERT_TRUE(file.write("new", 3));
  const auto during = entries(dir.path());
  ASSERT_EQ(during.size(), 2u);
  EXPECT_EQ(during[0].rfind(".strimlo-partial-", 0), 0u) << during[0];
  EXPECT_EQ(during[0].size(), 23u) << during[0];
  EXPECT_EQ(test::readFile(path), "old");
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(test::readFile(path), "new");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"a.jpg"});
}

// A signal's clean-up reaches every save under way, however many there are.
TEST(AtomicFile, SignalCleanUpRemovesEveryTemporaryFile) {
  test::TempDir dir;
  std::vector<std::unique_ptr<AtomicFile>> saves;
  for (int i = 0; i < 300; ++i) {
    const std::string path = dir.file("f" + std::to_string(i));
    test::writeFile(path, "old");  // an existing target: a named temporary file beside it
    saves.push_back(std::make_unique<AtomicFile>(path));
    ASSERT_TRUE(saves.back()->ok());
  }
  ASSERT_EQ(entries(dir.path()).size(), 600u);
  removeTemporaryFiles();
  EXPECT_EQ(entries(dir.path()).size(), 300u);
  for (const std::string& name : entries(dir.path())) EXPECT_EQ(name[0], 'f') << name;
}

// A new file has no name until the commit; a file that appears at the name meanwhile is
// replaced whole and keeps its mode, as an existing target would have.
TEST(AtomicFile, NewFileIsNamedOnlyAtTheCommitAndReplacesALateArrival) {
  for (const bool lateArrival : {false, true}) {
    SCOPED_TRACE(lateArrival);
    test::TempDir dir;
    const std::string path = dir.file("b.png");
    AtomicFile file(path);
    ASSERT_TRUE(file.write("ours", 4));
    EXPECT_TRUE(entries(dir.path()).empty());
    if (lateArrival) {
      test::writeFile(path, "theirs");
      ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    }
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(test::readFile(path), "ours");
    if (lateArrival) {
      EXPECT_EQ(modeOf(path), 0600u);
    }
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"b.png"});
  }
}

// Each row makes the save fail in its own way; every one must leave the folder as it
// was: the old file byte for byte, nothing added.
struct FailureRow {
  const char* proves;
  bool (*save)(const std::string& path);
};

const FailureRow kFailures[] = {
    {"a failed write, marked with fail()",
     [](const std::string& path) {
       AtomicFile f(path);
       f.write("partial", 7);
       f.fail();
       return f.commit();
     }},
    {"a writer dropped before its commit",
     [](const std::string& path) {
       AtomicFile f(path);
       f.write("partial", 7);
       return false;
     }},
};

TEST(AtomicFile, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  for (const auto& row : kFailures) {
    SCOPED_TRACE(row.proves);
    test::TempDir dir;
    const std::string path = dir.file("keep.eps");
    test::writeFile(path, "old bytes");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    EXPECT_FALSE(row.save(path));
    EXPECT_EQ(test::readFile(path), "old bytes");
    EXPECT_EQ(modeOf(path), 0640u);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"keep.eps"});
  }
}

TEST(AtomicFile, CommitsOnlyOnce) {
  test::TempDir dir;
  const std::string path = dir.file("once");
  AtomicFile file(path);
  ASSERT_TRUE(file.write("new", 3));
  ASSERT_TRUE(file.commit());
  EXPECT_FALSE(file.write("more", 4));
  EXPECT_FALSE(file.commit());
  EXPECT_EQ(test::readFile(path), "new");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"once"});
}

TEST(AtomicFile, MissingFolderFailsAndCreatesNothing) {
  test::TempDir dir;
  const std::string path = dir.file("missing/out.png");
  AtomicFile file(path);
  EXPECT_FALSE(file.ok());
  EXPECT_FALSE(file.write("x", 1));
  EXPECT_FALSE(file.commit());
  EXPECT_FALSE(writeFileAtomically(path, "bytes"));
  EXPECT_TRUE(entries(dir.path()).empty());
}

// A folder is never replaced, and nothing is left beside it.
TEST(AtomicFile, TargetThatIsAFolderFailsAndCleansUp) {
  test::TempDir dir;
  const std::string path = dir.file("folder");
  fs::create_directory(path);
  test::writeFile(dir.file("folder/inside"), "kept");
  EXPECT_FALSE(writeFileAtomically(path, "bytes"));
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(test::readFile(dir.file("folder/inside")), "kept");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"folder"});
}

TEST(AtomicFile, ReadOnlyFolderFailsAndLeavesTheOldFile) {
  test::TempDir dir;
  const std::string path = dir.file("keep.png");
  test::writeFile(path, "old bytes");
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  if (access(dir.path().c_str(), W_OK) == 0) {
    GTEST_SKIP() << "this user writes into read-only folders (root)";
  }
  EXPECT_FALSE(writeFileAtomically(path, "new"));
  EXPECT_EQ(test::readFile(path), "old bytes");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"keep.png"});
}

// Saving through a symbolic link replaces the file it names and keeps the link.
TEST(AtomicFile, FollowsASymbolicLink) {
  test::TempDir dir;
  fs::create_directory(dir.path() / "real");
  const std::string target = dir.file("real/file.png");
  test::writeFile(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  const std::string link = dir.file("link.png");
  fs::create_symlink(target, link);
  ASSERT_TRUE(writeFileAtomically(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFile(target), "new");
  EXPECT_EQ(modeOf(target), 0640u);
  EXPECT_EQ(entries(dir.path() / "real"), std::vector<std::string>{"file.png"});
}

// A pipe or a device cannot be replaced by a file: the bytes go to it, and it stays
// what it was (as root, renaming over /dev/null would otherwise replace the device).
TEST(AtomicFile, PipesAndDevicesAreWrittenNotReplaced) {
  test::TempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = test::readFile(fifo); });
  EXPECT_TRUE(writeFileAtomically(fifo, "through the pipe"));
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));

  const std::string device = dir.file("null");
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  EXPECT_TRUE(writeFileAtomically(device, "gone"));
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"null", "pipe"}));
}

// A link to nowhere is refused rather than replaced by a file.
TEST(AtomicFile, RefusesALinkToNowhere) {
  test::TempDir dir;
  const std::string link = dir.file("dangling.png");
  fs::create_symlink(dir.file("missing/file.png"), link);
  EXPECT_FALSE(writeFileAtomically(link, "x"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"dangling.png"});
}

// A file this user may not write is refused, as writing it in place would be.
TEST(AtomicFile, RefusesAReadOnlyFile) {
  test::TempDir dir;
  const std::string readOnly = dir.file("locked.png");
  test::writeFile(readOnly, "old");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  if (access(readOnly.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes read-only files (root)";
  EXPECT_FALSE(writeFileAtomically(readOnly, "new"));
  EXPECT_EQ(test::readFile(readOnly), "old");
}

TEST(AtomicFile, PathsThatNameNoFileFail) {
  for (const char* path : {"", "/", "."}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(writeFileAtomically(path, "x"));
  }
}

}  // namespace
}  // namespace strimlo

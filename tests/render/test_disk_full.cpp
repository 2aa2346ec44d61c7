// Saving onto a full disk: a small tmpfs filled to its last block. Every save must answer
// no, leave the file that was there byte for byte, and leave no temporary file behind.
// Mounting needs root (CAP_SYS_ADMIN); elsewhere the tests skip and say why.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "makecode.h"
#include "test_support.h"

namespace strimlo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

// A 512 KiB tmpfs on a fresh folder, unmounted when it goes, whatever the test did.
class SmallTmpfs {
 public:
  SmallTmpfs() {
    if (geteuid() != 0) {
      why_ = "mounting a tmpfs needs root";
      return;
    }
    if (mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=512k") != 0) {
      why_ = std::string("mount -t tmpfs failed (") + std::strerror(errno) +
             "); a container without CAP_SYS_ADMIN cannot run this test";
      return;
    }
    mounted_ = true;
  }
  ~SmallTmpfs() {
    if (mounted_ && umount(dir_.path().c_str()) != 0) umount2(dir_.path().c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& whyNot() const { return why_; }
  std::string file(const std::string& name) const { return dir_.file(name); }
  const fs::path& path() const { return dir_.path(); }

 private:
  TempDir dir_;  // the mount point, removed only after the destructor has unmounted it
  bool mounted_ = false;
  std::string why_;
};

// Appends to the file until the file system refuses with ENOSPC; false on any other error.
bool fillUp(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::vector<char> block(64 * 1024, 'f');
  int error = 0;
  while (error == 0) {
    if (write(fd, block.data(), block.size()) < 0) error = errno;
  }
  close(fd);
  return error == ENOSPC;
}

// Proves the disk is full: not even one byte fits in a new file.
bool oneMoreByteFails(const SmallTmpfs& disk) {
  const std::string probe = disk.file("probe");
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return true;
  const bool failed = write(fd, "x", 1) != 1 || fsync(fd) != 0;
  close(fd);
  unlink(probe.c_str());
  return failed;
}

std::vector<std::string> temporaryFiles(const fs::path& dir) {
  std::vector<std::string> found;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().front() == '.') found.push_back(e.path().filename());
  return found;
}

// A save that failed for want of space, not for any other reason.
bool failedToWrite(const SaveOutcome& outcome) {
  return outcome.failure == SaveFailure::WriteFailed ||
         outcome.failure == SaveFailure::EncodeFailed;
}

struct Save {
  const char* what;
  FileFormat format;
  ResolutionIndex res;
  bool ontoOldFile;  // the target is the existing file, else a new name
};

const Save kSaves[] = {
    {"TIFF at 1200 dpi, far larger than the disk, over the old file", kTIFF, 4, true},
    {"TIFF at 1200 dpi to a new name", kTIFF, 4, false},
    {"EPS (about 2 KB) over the old file", kEPS, 2, true},
    {"EPS to a new name", kEPS, 2, false},
    {"PNG at 72 dpi (a few KB) over the old file", kPNG, 0, true},
    {"JPEG at 300 dpi over the old file", kJPEG, 2, true},
};

TEST(DiskFull, SavesAnswerNoAndLeaveTheOldFileAndNoTemporaryFile) {
  SmallTmpfs disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  const std::string old = disk.file("label.out");
  writeFile(old, "old label");
  ASSERT_TRUE(fillUp(disk.file("filler")));
  ASSERT_TRUE(oneMoreByteFails(disk)) << "the tmpfs still takes data; the test proves nothing";

  for (const Save& s : kSaves) {
    const std::string target = s.ontoOldFile ? old : disk.file("new.out");
    const SaveOutcome outcome =
        MakeCode::FinalCodeOutcome(kEAN13, 2, "401234567890", "", "", s.res, s.format, target);
    EXPECT_TRUE(failedToWrite(outcome)) << s.what << ": " << describe(outcome, kEAN13, "", "");
    EXPECT_EQ(readFile(old), "old label") << s.what;
    EXPECT_FALSE(fs::exists(disk.file("new.out"))) << s.what;
    EXPECT_EQ(temporaryFiles(disk.path()), std::vector<std::string>{}) << s.what;
  }

  // With room again the same EPS save goes through: space was the only obstacle.
  fs::remove(disk.file("filler"));
  EXPECT_TRUE(MakeCode::FinalCode(kEAN13, 2, "401234567890", "", "", 2, kEPS, old));
  EXPECT_NE(readFile(old), "old label");
}

// The file being replaced is itself what fills the disk: a save in place would have to
// truncate it first, and then fail with nothing left of it.
TEST(DiskFull, TheOnlyFileOnAFullDiskSurvivesBeingSavedOver) {
  SmallTmpfs disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  const std::string only = disk.file("label.out");
  ASSERT_TRUE(fillUp(only));
  ASSERT_TRUE(oneMoreByteFails(disk)) << "the tmpfs still takes data; the test proves nothing";
  const std::string before = readFile(only);

  for (FileFormat format : {kEPS, kPNG, kTIFF, kJPEG, kPDF, kSVG}) {
    const SaveOutcome outcome =
        MakeCode::FinalCodeOutcome(kISBN13, 2, "978-3-16-148410-0", "51299", "12.99", 2,
                                   format, only);
    EXPECT_TRUE(failedToWrite(outcome)) << "format " << format << ": "
                                        << describe(outcome, kISBN13, "", "");
    EXPECT_TRUE(readFile(only) == before) << "format " << format << ": the file changed";
    EXPECT_EQ(temporaryFiles(disk.path()), std::vector<std::string>{}) << "format " << format;
  }
}

}  // namespace
}  // namespace strimlo

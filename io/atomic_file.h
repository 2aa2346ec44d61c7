#pragma once
// Files are never written in place: the bytes go to a temporary file in the same folder,
// which replaces the target only once it is complete and flushed. A failure at any
// point leaves an existing file untouched and no temporary file behind.
//
// Targets that are not regular files (a device, a pipe) cannot be replaced and are
// written directly; so are the process's own streams, named /dev/stdout, /dev/stderr,
// /dev/fd/N or /proc/self/fd/N, which are written where they stand (a log that standard
// output appends to keeps its lines). A target that cannot be written in place (a
// read-only file, a link to nowhere) is refused.
//
// A symbolic link at the target is followed, so the file it names is replaced, unless
// it sits in a sticky world-writable folder and belongs to neither this user nor the
// folder's owner (the kernel's protected-symlinks rule). With SaveOptions::replaceLinks, a
// link is never followed: the new file takes its place.
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace strimlo {

// How one save goes, chosen by its caller.
struct SaveOptions {
  // The file and its folder are synced before the commit returns. A batch that writes
  // many files turns it off and syncs the file system once at its end, before it reports.
  bool sync = true;
  // For names made from untrusted data (a batch): a link found there is replaced, never
  // followed, and a pipe or device there is refused rather than written to.
  bool replaceLinks = false;
};

class AtomicFile {
 public:
  // Creates the temporary file.
  explicit AtomicFile(std::string path, SaveOptions options = {});
  ~AtomicFile();                          // removes it unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool ok() const { return file_ != nullptr && !failed_; }
  std::FILE* file() const { return file_; }
  int fd() const;
  bool write(const void* data, std::size_t size);
  // Marks the save as failed; a stream error on file() is kept as its cause.
  void fail();
  // Flushes, syncs and gives the file the target's name, keeping an existing file's
  // permission bits. False (and nothing changed) on any failure.
  bool commit();

 private:
  bool openUnnamed();
  bool openTemporary();
  void useBuffer();
  bool linkUnnamed(int fd);
  bool openDirect();
  bool openStream(int fd);
  void noteFailure(int error, const char* reason = nullptr);

  std::string path_;
  SaveOptions options_;
  static constexpr std::size_t kBufferSize = 64 * 1024;
  std::string temp_;      // the named temporary file; empty when unnamed or direct
  bool unnamed_ = false;  // an O_TMPFILE file, named at the commit
  std::unique_ptr<char[]> buffer_;
  std::atomic<const char*>* slot_ = nullptr;  // where temp_ is registered for removal on a signal
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool committed_ = false;
  bool noted_ = false;  // a cause has been recorded
};

bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         SaveOptions options = {});

// Why the last save on this thread failed, e.g. "No space left on device"; empty when
// it did not fail or the cause is unknown. Lets a caller that only hears "no" from the
// layers in between name the cause.
std::string lastSaveFailure();

// Removes the temporary files (".strimlo-partial-" and six letters) in the folder that a
// save killed outright (kill -9, a power cut) left: those of this user, older than a day
// and locked by no save under way. A run calls it for the folder it writes to.
void removeStaleTemporaryFiles(const std::string& folder) noexcept;

// Removes every temporary file still open. Safe to call from a signal handler: a
// program that handles signals calls it before it ends, so an interrupted save leaves
// nothing behind.
void removeTemporaryFiles() noexcept;

}  // namespace strimlo

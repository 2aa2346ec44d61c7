#pragma once
// Files are never written in place: the bytes go to a temporary file in the same folder,
// which replaces the target only once it is complete and flushed. A failure at any
// point leaves an existing file untouched and no temporary file behind.
//
// Targets that are not regular files (a device such as /dev/stdout, a pipe) cannot be
// replaced and are written directly. A target that cannot be written in place (a
// read-only file, a link to nowhere) is refused.
#include <cstdio>
#include <string>
#include <string_view>

namespace strimlo {

class AtomicFile {
 public:
  explicit AtomicFile(std::string path);  // creates the temporary file
  ~AtomicFile();                          // removes it unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool ok() const { return file_ != nullptr && !failed_; }
  std::FILE* file() const { return file_; }
  int fd() const;
  bool write(const void* data, std::size_t size);
  void fail() { failed_ = true; }
  // Flushes, syncs and renames over the target, keeping an existing file's permission
  // bits. False (and nothing changed) on any failure.
  bool commit();

 private:
  bool openTemporary();
  bool openDirect();

  std::string path_;
  std::string temp_;  // empty when writing directly
  int slot_ = -1;     // where temp_ is registered for removal on a signal
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool committed_ = false;
};

bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Each commit syncs its file and folder to disk by default. A batch that writes many
// files turns that off and syncs the file system once at the end, before it reports.
void setSyncEachFile(bool sync);

// Removes every temporary file still open. Safe to call from a signal handler.
void removeTemporaryFiles() noexcept;

// SIGINT, SIGTERM and SIGHUP remove the temporary files, then end the program as the
// signal would: an interrupted save leaves nothing behind.
void removeTemporaryFilesOnSignals();

}  // namespace strimlo

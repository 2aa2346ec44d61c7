#pragma once
// Files are never written in place: the bytes go to a temporary file in the same folder,
// which replaces the target only once it is complete and flushed. A failure at any
// point leaves an existing file untouched and no temporary file behind.
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
  std::string path_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool committed_ = false;
};

// Each commit syncs its file and folder to disk by default. A batch that writes many
// files turns that off and syncs the file system once at the end, before it reports.
void setSyncEachFile(bool sync);

bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace strimlo

#pragma once
// Where a batch line's file may go. A batch file often comes from someone else, so its
// output paths are untrusted: each stays inside the output folder (--outdir, or the
// current folder).
#include <string>
#include <unordered_map>

namespace strimlo::cli {

// Why a relative output path cannot be used (absolute, a ".." in it, no file name), or ""
// when it can.
std::string relativePathProblem(const std::string& relative);

// Makes the folders of `path` that are missing (--outdir), parents first, and says why
// not. Folders the path already leads to are used as the user named them, through a link
// only when it is the user's or root's (in a shared folder, another user may have planted
// it at the name about to be made); each folder made here is made and then entered
// through the one before it without following a link, so a link put at its name
// meanwhile leads nowhere.
bool makeFolders(const std::string& path, std::string& error);

// The folder of root/relative, opened and checked to lie inside root (a resolved path).
// The check is made on the opened folder and the file is written through it, so a
// folder swapped for a link after the check cannot lead the write elsewhere.
class ConfinedFolder {
 public:
  ConfinedFolder(const std::string& root, const std::string& relative);
  ~ConfinedFolder();
  ConfinedFolder(const ConfinedFolder&) = delete;
  ConfinedFolder& operator=(const ConfinedFolder&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }  // why not, for a message
  const std::string& path() const { return path_; }    // the file, to be written

 private:
  int fd_ = -1;
  std::string path_;
  std::string error_;
};

// A key per file for the duplicate check: root/relative with its folder resolved, so two
// spellings of one file give one key. Resolved folders are remembered.
class OutputKeys {
 public:
  std::string key(const std::string& root, const std::string& relative);

 private:
  std::unordered_map<std::string, std::string> folders_;
};

}  // namespace strimlo::cli

// The floor under any one-file run: a program that draws nothing and only saves 5 KB the
// way strimlo-cli saves a file it replaces (a temporary file, synced, renamed over the
// target, the folder synced). run_benchmarks.sh times it beside both programs, so the
// share of a one-file run that durability takes is measured, not guessed.
//   durable_save PATH
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string target = argv[1];
  const auto slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string temp = (slash == std::string::npos ? "" : dir) + ".durable-save";
  const std::vector<char> bytes(5 * 1024, 'x');
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return 1;
  const bool saved = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                     fsync(fd) == 0;
  close(fd);
  if (!saved || std::rename(temp.c_str(), target.c_str()) != 0) return 1;
  const int folder = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = folder >= 0 && fsync(folder) == 0;
  if (folder >= 0) close(folder);
  return synced ? 0 : 1;
}

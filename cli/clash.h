#pragma once
// Lines that would write the same file are all refused: which of them would win is up
// to the threads. Names are compared case-folded and in Unicode's composed form (NFC), so
// label.png and LABEL.png, or "é" typed as one character and as e and an accent, are one
// file: on a USB stick, an exFAT card or a Samba or macOS share they are. The check keeps
// about 16 bytes a line: a hash of each line's file, then the names of only those lines
// whose hashes meet.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace strimlo::cli {

// The name as compared: case-folded, composed; the bytes as they are when not UTF-8.
std::string foldedName(const std::string& name);

class ClashCheck {
 public:
  // First pass: a line that will write the file `key`, by its position among the lines.
  void add(std::size_t index, const std::string& key);
  // The lines whose hash another line shares, in order, for a second pass to confirm;
  // the first pass's hashes are freed.
  std::vector<std::uint32_t> suspects();
  void confirm(std::size_t index, int line, const std::string& key);
  // One message per file that several lines would write.
  std::vector<std::string> messages() const;
  // Why the line at this position is refused, or "" when it clashes with none.
  std::string refusal(std::size_t index) const;

 private:
  struct Group {
    std::string key;     // as the first line spells it
    std::string folded;  // what is compared
    std::vector<int> lines;
    bool spelledApart = false;  // the lines spell the name differently
  };
  std::vector<std::pair<std::uint64_t, std::uint32_t>> hashes_;   // hash, position
  std::vector<Group> groups_;                                     // one per file confirmed
  std::unordered_multimap<std::uint64_t, std::uint32_t> byHash_;  // hash -> group
  std::vector<std::pair<std::uint32_t, std::uint32_t>> members_;  // position -> group, in order
};

}  // namespace strimlo::cli

#include "clash.h"

#include <unicase.h>
#include <uninorm.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "echo.h"

namespace strimlo::cli {

namespace {

std::uint64_t hashOf(const std::string& folded) { return std::hash<std::string>{}(folded); }

// "1, 3, 5, 7, 9 and 12 more": a clash of a million lines stays one short line.
std::string lineList(const std::vector<int>& lines) {
  constexpr std::size_t kListed = 5;
  std::string list;
  for (std::size_t i = 0; i < lines.size() && i < kListed; ++i)
    list += (i ? ", " : "") + std::to_string(lines[i]);
  if (lines.size() > kListed) list += " and " + std::to_string(lines.size() - kListed) + " more";
  return list;
}

}  // namespace

std::string foldedName(const std::string& name) {
  std::size_t length = 0;
  std::unique_ptr<std::uint8_t, decltype(&std::free)> folded(
      u8_casefold(reinterpret_cast<const std::uint8_t*>(name.data()), name.size(), nullptr,
                  UNINORM_NFC, nullptr, &length),
      &std::free);
  if (!folded) {  // not UTF-8: at least the ASCII letters
    std::string lower = name;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
  }
  return std::string(reinterpret_cast<const char*>(folded.get()), length);
}

void ClashCheck::add(std::size_t index, const std::string& key) {
  hashes_.emplace_back(hashOf(foldedName(key)), static_cast<std::uint32_t>(index));
}

std::vector<std::uint32_t> ClashCheck::suspects() {
  std::sort(hashes_.begin(), hashes_.end());
  std::vector<std::uint32_t> shared;
  for (std::size_t i = 0; i < hashes_.size(); ++i) {
    const bool before = i > 0 && hashes_[i - 1].first == hashes_[i].first;
    const bool after = i + 1 < hashes_.size() && hashes_[i + 1].first == hashes_[i].first;
    if (before || after) shared.push_back(hashes_[i].second);
  }
  std::vector<std::pair<std::uint64_t, std::uint32_t>>().swap(hashes_);
  std::sort(shared.begin(), shared.end());
  return shared;
}

void ClashCheck::confirm(std::size_t index, int line, const std::string& key) {
  std::string folded = foldedName(key);
  const std::uint64_t hash = hashOf(folded);
  std::uint32_t group = static_cast<std::uint32_t>(groups_.size());
  const auto [first, last] = byHash_.equal_range(hash);
  for (auto it = first; it != last; ++it)
    if (groups_[it->second].folded == folded) group = it->second;
  if (group == groups_.size()) {
    groups_.push_back({key, std::move(folded), {}});
    byHash_.emplace(hash, group);
  }
  Group& g = groups_[group];
  g.lines.push_back(line);
  g.spelledApart |= g.key != key;
  members_.emplace_back(static_cast<std::uint32_t>(index), group);
}

std::vector<std::string> ClashCheck::messages() const {
  std::vector<std::string> out;
  for (const Group& g : groups_)
    if (g.lines.size() > 1)
      out.push_back("lines " + lineList(g.lines) + " would all write " + shown(g.key, 200) +
                    (g.spelledApart ? " (names that differ only in letter case or accent form "
                                      "are one file on many disks)"
                                    : "") +
                    "; none of them is written");
  return out;
}

std::string ClashCheck::refusal(std::size_t index) const {
  const auto it =
      std::lower_bound(members_.begin(), members_.end(),
                       std::make_pair(static_cast<std::uint32_t>(index), std::uint32_t{0}));
  if (it == members_.end() || it->first != index) return {};
  const Group& g = groups_[it->second];
  if (g.lines.size() < 2) return {};
  return "shares its output file with lines " + lineList(g.lines) +
         (g.spelledApart ? " (its name differs from theirs only in letter case or accent form)"
                         : "");
}

}  // namespace strimlo::cli

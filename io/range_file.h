#pragma once
// The ISBN agency's RangeMessage.xml, read from disk: which file to use, reading it (at
// most 16 MB, through expat), and its age. The user downloads the file; we bundle none.
#include <memory>
#include <string>
#include <string_view>

#include "isbn_ranges.h"

namespace strimlo {

struct RangesLoad {
  std::shared_ptr<const IsbnRanges> ranges;  // null when the file could not be used
  std::string note;  // for the user: why not, or that the file is over a year old
};

// The file a front end uses when the user names none: $STRIMLO_RANGES, else
// $XDG_DATA_HOME/strimlo/RangeMessage.xml (~/.local/share when unset) when it exists;
// "" for none.
std::string defaultRangesPath();
// Where the window's preference copies the file: $XDG_DATA_HOME/strimlo/RangeMessage.xml.
std::string userRangesPath();

// Reads the file at path once; later calls with the same path take the same ranges while
// the file's size and modification time stay. A missing, unreadable, oversized, malformed
// or rangeless file gives no ranges and a note naming the file and the cause; never
// throws.
RangesLoad loadRanges(const std::string& path);

// The ranges of an XML text; null with `why` set when it is not a range message.
std::shared_ptr<const IsbnRanges> parseRanges(std::string_view xml, std::string& why);

// "" or the note for a message date more than a year before today.
std::string rangesAgeNote(const IsbnRanges& ranges, const std::string& path);

inline constexpr std::size_t kMaxRangeFileBytes = 16u << 20;

}  // namespace strimlo

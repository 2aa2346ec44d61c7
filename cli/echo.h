#pragma once
// Untrusted text (a CSV cell, a path from a batch file) on its way to a terminal.
#include <cstddef>
#include <string>
#include <string_view>

namespace strimlo::cli {

// The text with every control character (C0, DEL, C1), every invisible format character
// (bidirectional controls, zero-width ones) and every byte that is not UTF-8
// escaped as \xNN, cut to `limit` characters with "..." when longer.
std::string shown(std::string_view text, std::size_t limit = 60);

// The first control character in the text, escaped as shown() would; "" when there is
// none. Tab counts: no cell has a use for one.
std::string firstControlCharacter(std::string_view text);

// The system's text for an errno value, e.g. "No space left on device".
std::string errorText(int error);

}  // namespace strimlo::cli

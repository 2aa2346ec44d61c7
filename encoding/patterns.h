#pragma once
// Module patterns of EAN-13, EAN-8, UPC-A, UPC-E and the 2- and 5-digit add-on symbols:
// one byte per module, 1 for a bar and 0 for a space, without quiet zones.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace strimlo {

using ModulePattern = std::vector<std::uint8_t>;

inline constexpr int kEAN13Modules = 95;
inline constexpr int kEAN8Modules = 67;
inline constexpr int kUPCAModules = 95;
inline constexpr int kUPCEModules = 51;
inline constexpr int kAddon5Modules = 47;
inline constexpr int kAddon2Modules = 20;

// Each takes exactly its number of digits (13, 8, 12, 8, 5, 2) and refuses anything
// else, non-digits included.
std::optional<ModulePattern> bitpattern_ean13(std::string_view digits);
std::optional<ModulePattern> bitpattern_ean8(std::string_view digits);
std::optional<ModulePattern> bitpattern_upca(std::string_view digits);
// Number system, six digits, check digit; number systems other than 0 and 1 are refused.
std::optional<ModulePattern> bitpattern_upce(std::string_view digits);
std::optional<ModulePattern> bitpattern_addon5(std::string_view digits);
std::optional<ModulePattern> bitpattern_addon2(std::string_view digits);

// "10100011..." for diffable test failures and debugging.
std::string toString(const ModulePattern& pattern);

}  // namespace strimlo

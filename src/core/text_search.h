#pragma once
// Searching the editor's text byte-wise, as the find and replace windows do.
// A match may only start where a character starts (the second byte of a
// double-byte character, and the later bytes of a four-byte sequence, never
// start one). Without match case, ASCII A-Z and a-z compare equal.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace penvox::search {

// The first match of `needle` starting at or after `from`.
std::optional<std::size_t> findDown(std::string_view text, std::size_t from, std::string_view needle, bool matchCase);
// The last match of `needle` that ends at or before `before`.
std::optional<std::size_t> findUp(std::string_view text, std::size_t before, std::string_view needle, bool matchCase);
// Every match replaced, scanning character by character from the start.
std::string replaceAll(std::string_view text, std::string_view needle, std::string_view replacement, bool matchCase);

}  // namespace penvox::search

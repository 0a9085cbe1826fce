#pragma once
// The backup copy of a text: <run directory>/备份/<title>.txt. Characters a
// Linux file name cannot hold ("/" and the zero character) become "_"; the
// rest of the title stays as it is.
#include <string>
#include <string_view>

namespace penvox::backup {

inline constexpr const char* kFolder = "备份";
std::string fileName(std::string_view titleUtf8);  // "<title>.txt"

}  // namespace penvox::backup

#pragma once
// Binary values in the settings file (the encrypted points total) may hold any
// byte, zero, CR, LF, '=' and quotes included, which a profile line cannot
// carry. They are written as "hex:" followed by two lower-case hex digits per
// byte. A value without that prefix (or whose rest is not whole hex bytes) is
// a raw value written by an older installation and is taken byte for byte.
#include <string>
#include <string_view>

namespace penvox::carrier {

std::string encode(std::string_view bytes);
std::string decode(std::string_view stored);

}  // namespace penvox::carrier

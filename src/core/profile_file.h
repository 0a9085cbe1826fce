#pragma once
// The settings file: a profile file of "[section]" lines and "key=value"
// lines, in the program's GBK bytes with CR LF line ends. Every call reads or
// writes one key; nothing is cached.
//
// Reading: section and key names match without regard to ASCII case and to
// leading and trailing blanks; the first of duplicate sections and keys wins.
// Leading and trailing blanks of a value, and one pair of enclosing single or
// double quotes, are not part of it. At most kMaxValueBytes bytes are returned.
// An absent file, section or key reads as empty text.
//
// Writing: an existing key's value is replaced in place (the line becomes
// "key=value" as given); a missing key is added after the last key line of
// its section; a missing section is added at the end of the file; a missing
// file is created. A new section follows one blank line unless the file is
// empty or already ends in one. The whole file is rewritten with CR LF line
// ends, every other line kept byte for byte. A value is one line: it is cut at
// its first CR, LF or zero byte. A name that would not read back as itself (an
// empty key, a key holding '=' or shaped like "[x]", a section holding ']', any
// name holding CR, LF or a zero byte) is refused.
//
// A write replaces the file atomically (a temporary file beside it, flushed,
// then renamed over it), keeps its permission bits and follows a symbolic
// link. A file without any write bit refuses writes and stays untouched, as
// does a missing folder. Writers of one folder take turns, so two copies of the
// program never lose each other's keys.
#include <string>
#include <string_view>

namespace penvox::profile {

inline constexpr std::size_t kMaxValueBytes = 10239;  // a 10240-byte buffer with its terminating zero

std::string read(const std::string& path, std::string_view section, std::string_view key);

// Returns false when the file could not be written (callers are free to ignore it).
bool write(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

}  // namespace penvox::profile

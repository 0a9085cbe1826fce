#pragma once
// File attributes on Linux: "read-only" clears every write bit of the file,
// "writable" gives the owner's write bit back. Hidden and system have no
// meaning here. Failures (a missing file) are ignored and reported as false.
#include <string>

namespace penvox::attributes {

bool makeReadOnly(const std::string& path);
bool makeWritable(const std::string& path);
bool isReadOnly(const std::string& path);  // false for a missing file

}  // namespace penvox::attributes

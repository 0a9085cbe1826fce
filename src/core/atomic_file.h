#pragma once
// Whole-file reads and writes for documents and settings.
//
// A write goes to a temporary file in the target's folder, is flushed to disk
// and renamed over the target, so a reader never sees half a file and a crash
// or a full disk leaves either the old file or the new one, never a mix. An
// existing file keeps its permission bits (and, for a privileged writer, its
// owner); a new one gets 0666 under the umask. A file the writer has no write
// permission for is refused, as it would be by writing it in place. A symbolic
// link is followed: the link stays and the file it points to is written.
#include <optional>
#include <string>
#include <string_view>

namespace penvox::files {

// The folder part of a path: "." for a bare name, "/" for a file at the root.
std::string folderOf(const std::string& path);

// False on failure, with the system's reason ("Permission denied", "No space
// left on device", "No such file or directory", ...) in `*error` when `error`
// is given. A failed write leaves the old file as it was and no temporary file.
bool writeAtomically(const std::string& path, std::string_view bytes, std::string* error);

// The whole content of a file; nullopt with the reason in `*error` for a
// missing or unreadable file or a folder.
std::optional<std::string> readAll(const std::string& path, std::string* error);

// The system's text for an errno value.
std::string reasonFor(int errnoValue);

}  // namespace penvox::files

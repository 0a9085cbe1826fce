#include "core/file_attributes.h"

#include <sys/stat.h>

namespace penvox::attributes {

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool changeMode(const std::string& path, mode_t clear, mode_t set)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    const mode_t mode = ((st.st_mode & 07777) & ~clear) | set;
    return ::chmod(path.c_str(), mode) == 0;
}

}  // namespace

bool makeReadOnly(const std::string& path) { return changeMode(path, kAnyWrite, 0); }

bool makeWritable(const std::string& path) { return changeMode(path, 0, S_IWUSR); }

bool isReadOnly(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & kAnyWrite) == 0;
}

}  // namespace penvox::attributes

#include "core/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penvox::files {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit on link chains

bool fail(std::string* error, int errnoValue)
{
    if (error)
        *error = reasonFor(errnoValue);
    return false;
}


// The file a write lands in. A link is followed hop by hop rather than with
// realpath(), so a link whose target does not exist yet still leads there
// (as the shell's "echo > link" does) instead of being replaced by a file.
bool resolveTarget(const std::string& path, std::string& target, int& errnoValue)
{
    target = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;  // a regular file, something else, or nothing yet
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) {
            errnoValue = errno;
            return false;
        }
        if (static_cast<std::size_t>(n) >= link.size()) {
            // The link changed under us; take another look.
            continue;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) {
            errnoValue = ENOENT;
            return false;
        }
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    errnoValue = ELOOP;
    return false;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string reasonFor(int errnoValue)
{
    char buffer[256];
    // The GNU strerror_r returns the text, which may or may not live in `buffer`.
    const char* text = ::strerror_r(errnoValue, buffer, sizeof buffer);
    return text ? std::string(text) : std::string("error ") + std::to_string(errnoValue);
}

bool writeAtomically(const std::string& path, std::string_view bytes, std::string* error)
{
    if (path.empty())
        return fail(error, ENOENT);
    std::string target;
    int resolveError = 0;
    if (!resolveTarget(path, target, resolveError))
        return fail(error, resolveError);
    const std::string folder = folderOf(target);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return fail(error, errno);
    if (exists && S_ISDIR(existing.st_mode))
        return fail(error, EISDIR);
    if (exists && !S_ISREG(existing.st_mode))
        return fail(error, EINVAL);  // a device or a pipe is not replaced by a file
    // A file the writer may not write stays as it is, although the rename of
    // a new file over it would be allowed by its folder.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return fail(error, errno);

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder;
        temp += "/.penvox-";
        temp += std::to_string(::getpid());
        temp += '-';
        temp += std::to_string(counter++);
        temp += ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(error, errno);
    }
    if (fd < 0)
        return fail(error, EEXIST);

    int failure = 0;
    auto step = [&failure](bool ok) {
        if (!ok && failure == 0)
            failure = errno != 0 ? errno : EIO;
    };
    if (exists) {
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            // Only possible for a privileged writer; a failure keeps our ownership.
            const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
            (void)owned;
        }
        step(::fchmod(fd, existing.st_mode & 07777) == 0);
    }
    if (failure == 0)
        step(writeAll(fd, bytes));
    if (failure == 0)
        step(::fsync(fd) == 0);
    step(::close(fd) == 0);
    if (failure == 0)
        step(::rename(temp.c_str(), target.c_str()) == 0);
    if (failure != 0) {
        ::unlink(temp.c_str());
        return fail(error, failure);
    }
    // Makes the rename itself durable.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

std::optional<std::string> readAll(const std::string& path, std::string* error)
{
    auto failed = [error](int errnoValue) -> std::optional<std::string> {
        fail(error, errnoValue);
        return std::nullopt;
    };
    if (path.empty())
        return failed(ENOENT);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return failed(e);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return failed(EISDIR);
    }
    std::string content;
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        content.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            ::close(fd);
            return failed(e);
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

}  // namespace penvox::files

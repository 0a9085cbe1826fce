#include "core/profile_file.h"

#include "core/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace penvox::profile {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The first byte of a GBK double-byte character (or of a GB18030 four-byte
// sequence, which is two such pairs). Its second byte may lie in the ASCII
// range ('A', 'a', ']' ...), so the pair is always taken as a whole.
bool isLeadByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names match without regard to ASCII case; the bytes of a Chinese character
// match exactly, so two different characters never fold together.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i])) {
            if (a[i] != b[i])
                return false;
            if (i + 1 < a.size()) {
                ++i;
                if (a[i] != b[i])
                    return false;
            }
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findClosingBracket(std::string_view s, std::size_t from)
{
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == ']')
            return i;
        if (isLeadByte(s[i]))
            ++i;
    }
    return npos;
}

enum class Kind { Other, Section, Key };

struct Line {
    Kind kind = Kind::Other;
    std::string_view name;   // section or key name, blanks trimmed
    std::string_view value;  // everything after the first '=' of a key line
};

Line classify(std::string_view text)
{
    std::string_view body = text;
    while (!body.empty() && isBlank(body.front()))
        body.remove_prefix(1);
    if (!body.empty() && body.front() == '[') {
        const std::size_t close = findClosingBracket(body, 1);
        if (close != npos)
            return {Kind::Section, trimBlanks(body.substr(1, close - 1)), {}};
    }
    const std::size_t eq = text.find('=');
    if (eq != npos)
        return {Kind::Key, trimBlanks(text.substr(0, eq)), text.substr(eq + 1)};
    return {};
}

// Lines end in LF, with or without a CR before it; a last line may lack its
// end. The line returned excludes its end. `pos` moves past it.
bool nextLine(std::string_view content, std::size_t& pos, std::string_view& line)
{
    if (pos >= content.size())
        return false;
    const std::size_t lf = content.find('\n', pos);
    const std::size_t end = lf == npos ? content.size() : lf;
    line = content.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    pos = lf == npos ? content.size() : lf + 1;
    return true;
}

std::string cleanValue(std::string_view raw)
{
    std::string_view v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > kMaxValueBytes)
        v = v.substr(0, kMaxValueBytes);
    return std::string(v);
}

enum class Loaded { Ok, Missing, Failed };

Loaded loadFile(const std::string& path, std::string& content)
{
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? Loaded::Missing : Loaded::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Loaded::Failed;
    }
    if (st.st_size > 0)
        content.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            content.clear();
            return Loaded::Failed;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return Loaded::Ok;
}

std::string headerFor(std::string_view section)
{
    std::string header;
    header.reserve(section.size() + 2);
    header.push_back('[');
    header.append(section);
    header.push_back(']');
    return header;
}

bool holdsLineBreakOrZero(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != npos; }

// A name is written only when the line made of it reads back as that very
// name: a key holding '=' or looking like "[x]", or a section holding ']',
// would otherwise land in the file as something else.
bool writableSection(std::string_view section)
{
    if (holdsLineBreakOrZero(section))
        return false;
    const std::string header = headerFor(section);
    const Line parsed = classify(header);
    return parsed.kind == Kind::Section && parsed.name == section;
}

bool writableKey(std::string_view key)
{
    if (key.empty() || holdsLineBreakOrZero(key))
        return false;
    const std::string line = std::string(key) + "=";
    const Line parsed = classify(line);
    return parsed.kind == Kind::Key && parsed.name == key;
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value)
{
    std::vector<std::string_view> lines;
    std::string_view line;
    for (std::size_t pos = 0; nextLine(content, pos, line);)
        lines.push_back(line);

    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const std::string headerLine = headerFor(section);

    std::size_t header = npos;
    for (std::size_t i = 0; i < lines.size() && header == npos; ++i) {
        const Line parsed = classify(lines[i]);
        if (parsed.kind == Kind::Section && sameName(parsed.name, section))
            header = i;
    }

    std::size_t replaceAt = npos;
    std::size_t insertAt = npos;
    if (header != npos) {
        std::size_t lastKey = header;
        for (std::size_t i = header + 1; i < lines.size(); ++i) {
            const Line parsed = classify(lines[i]);
            if (parsed.kind == Kind::Section)
                break;
            if (parsed.kind == Kind::Key) {
                if (sameName(parsed.name, key)) {
                    replaceAt = i;
                    break;
                }
                lastKey = i;
            }
        }
        if (replaceAt == npos)
            insertAt = lastKey + 1;
    }

    std::string out;
    out.reserve(content.size() + keyLine.size() + headerLine.size() + 8);
    auto put = [&out](std::string_view text) {
        out.append(text);
        out.append("\r\n");
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == insertAt)
            put(keyLine);
        put(i == replaceAt ? std::string_view(keyLine) : lines[i]);
    }
    if (header != npos && insertAt == lines.size())
        put(keyLine);
    if (header == npos) {
        // A new section is set apart from what comes before it by one blank
        // line, unless the file is empty or already ends in a blank line.
        if (!lines.empty() && !trimBlanks(lines.back()).empty())
            put("");
        put(headerLine);
        put(keyLine);
    }
    return out;
}

// The file a write lands in: a symbolic link is followed, so the link stays
// and its target is updated.
std::string resolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}


// Writers of the same folder take turns, so two copies of the program each
// changing one key never lose the other's change. Readers need no lock: the
// file is replaced by a rename, so they see either the old or the new whole.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace

std::string read(const std::string& path, std::string_view section, std::string_view key)
{
    const std::string_view wantSection = trimBlanks(section);
    const std::string_view wantKey = trimBlanks(key);
    if (wantKey.empty())
        return {};
    std::string content;
    if (loadFile(path, content) != Loaded::Ok)
        return {};

    bool inSection = false;
    std::string_view line;
    for (std::size_t pos = 0; nextLine(content, pos, line);) {
        const Line parsed = classify(line);
        if (parsed.kind == Kind::Section) {
            if (inSection)
                return {};  // the first matching section ended; later duplicates are not read
            inSection = sameName(parsed.name, wantSection);
        } else if (parsed.kind == Kind::Key && inSection && sameName(parsed.name, wantKey)) {
            return cleanValue(parsed.value);
        }
    }
    return {};
}

bool write(const std::string& path, std::string_view section, std::string_view key, std::string_view value)
{
    const std::size_t cut = value.find_first_of(std::string_view("\r\n\0", 3));
    if (cut != npos)
        value = value.substr(0, cut);
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (path.empty() || !writableSection(section) || !writableKey(key))
        return false;

    const std::string target = resolveTarget(path);
    const std::string folderPath = files::folderOf(target);
    FolderLock folder(folderPath);
    if (!folder.ok())
        return false;  // the folder does not exist or cannot be opened

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists) {
        if (!S_ISREG(st.st_mode))
            return false;
        // A settings file without any write bit refuses writes, also for a
        // privileged user to whom access() would grant them.
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return false;
    }

    std::string content;
    if (exists && loadFile(target, content) != Loaded::Ok)
        return false;  // never replace a file we could not read with one that lacks its lines

    std::string updated = withValue(content, section, key, value);
    // Rewriting a value with itself changes nothing: the file is left alone,
    // which spares the disk the flushes of a write on every resize or keystroke.
    if (exists && updated == content)
        return true;
    // The new content goes to a temporary file beside the target, is flushed and
    // renamed over it, so nobody ever sees half a settings file; the file keeps
    // its permission bits.
    return files::writeAtomically(target, updated, nullptr);
}

}  // namespace penvox::profile

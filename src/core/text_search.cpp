#include "core/text_search.h"

#include <vector>

namespace penvox::search {
namespace {

// Width of the character starting at byte i: a GB18030 four-byte sequence
// (lead 81-FE, then 30-39, 81-FE, 30-39) is one character; any other byte
// from 0x81 to 0xFE takes the next byte as its second half; everything else
// (ASCII, the euro sign 0x80, a stray 0xFF) stands alone.
std::size_t widthAt(std::string_view text, std::size_t i)
{
    const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned b = byte(i);
    if (b < 0x81 || b > 0xFE || i + 1 >= text.size())
        return 1;
    const unsigned c = byte(i + 1);
    if (c >= 0x30 && c <= 0x39 && i + 3 < text.size() && byte(i + 2) >= 0x81 && byte(i + 2) <= 0xFE &&
        byte(i + 3) >= 0x30 && byte(i + 3) <= 0x39)
        return 4;
    return 2;
}

// A text prepared for searching: which byte offsets are character
// boundaries, and, without match case, the text with its single-byte ASCII
// letters folded to lower case (bytes inside a double-byte character are
// never folded: they are not letters).
struct Prepared {
    std::string bytes;
    std::vector<char> boundary;  // size + 1 entries
};

Prepared prepare(std::string_view text, bool matchCase)
{
    Prepared p{std::string(text), std::vector<char>(text.size() + 1, 0)};
    std::size_t i = 0;
    while (i < text.size()) {
        p.boundary[i] = 1;
        const std::size_t w = widthAt(text, i);
        if (w == 1 && !matchCase && p.bytes[i] >= 'A' && p.bytes[i] <= 'Z')
            p.bytes[i] = static_cast<char>(p.bytes[i] - 'A' + 'a');
        i += w;
    }
    p.boundary[text.size()] = 1;
    return p;
}

// A match starts at a character and, so that nothing is ever cut in half,
// ends at one too.
bool isMatchAt(const Prepared& text, std::size_t at, std::size_t length)
{
    return text.boundary[at] && text.boundary[at + length];
}

std::optional<std::size_t> firstFrom(const Prepared& text, const std::string& needle, std::size_t from)
{
    const std::string_view hay = text.bytes;
    for (std::size_t at = hay.find(needle, from); at != std::string_view::npos; at = hay.find(needle, at + 1))
        if (isMatchAt(text, at, needle.size()))
            return at;
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> findDown(std::string_view text, std::size_t from, std::string_view needle, bool matchCase)
{
    if (needle.empty() || from > text.size() || needle.size() > text.size() - from)
        return std::nullopt;
    const Prepared hay = prepare(text, matchCase);
    return firstFrom(hay, prepare(needle, matchCase).bytes, from);
}

std::optional<std::size_t> findUp(std::string_view text, std::size_t before, std::string_view needle, bool matchCase)
{
    if (before > text.size())
        before = text.size();
    if (needle.empty() || needle.size() > before)
        return std::nullopt;
    const Prepared hay = prepare(text, matchCase);
    const std::string key = prepare(needle, matchCase).bytes;
    const std::string_view bytes = hay.bytes;
    std::size_t at = bytes.rfind(key, before - key.size());
    while (at != std::string_view::npos) {
        if (isMatchAt(hay, at, key.size()))
            return at;
        if (at == 0)
            break;
        at = bytes.rfind(key, at - 1);
    }
    return std::nullopt;
}

std::string replaceAll(std::string_view text, std::string_view needle, std::string_view replacement, bool matchCase)
{
    if (needle.empty())
        return std::string(text);
    const Prepared hay = prepare(text, matchCase);
    const std::string key = prepare(needle, matchCase).bytes;
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (const std::optional<std::size_t> at = firstFrom(hay, key, done)) {
        out.append(text.substr(done, *at - done));
        out.append(replacement);
        done = *at + key.size();
    }
    out.append(text.substr(done));
    return out;
}

}  // namespace penvox::search

#pragma once
// What the Word readers hand back: the plain text of a document in the
// program's bytes (GBK, with GB18030 four-byte sequences for characters GBK
// lacks), each paragraph a line ended by CR LF; or, when the file cannot be
// read, ok == false and a short English reason that the application shows.
#include <initializer_list>
#include <string>
#include <string_view>

namespace penvox::word {

struct ReadResult {
    bool ok = false;
    std::string text;
    std::string error;
};

// Joins message pieces (appending, rather than "literal" + string, which
// GCC 12 misreports under -Wrestrict at -O2).
inline std::string cat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

inline ReadResult failure(std::string reason)
{
    ReadResult r;
    r.error = std::move(reason);
    return r;
}

}  // namespace penvox::word

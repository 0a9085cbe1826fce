#pragma once
// What the Word readers hand back: the plain text of a document in the
// program's bytes (GBK, with GB18030 four-byte sequences for characters GBK
// lacks), each paragraph a line ended by CR LF; or, when the file cannot be
// read, ok == false and a short English reason that the application shows.
#include <string>

namespace penvox::word {

struct ReadResult {
    bool ok = false;
    std::string text;
    std::string error;
};

}  // namespace penvox::word

#pragma once
// Quick insertions into the editor's text (the program's GBK bytes).
#include "core/header_lines.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace penvox::insertions {

// "2017年5月1日 7：2：9" (full-width colons, one ASCII space after 日), UTF-8.
std::string timeStamp(const headers::Moment& at);
// CR LF, 33 hyphens, 分割线, 33 hyphens, CR LF (76 GBK bytes), UTF-8.
std::string dividerLine();

struct Spliced {
    std::string text;    // GBK
    std::size_t caret;   // byte offset behind the inserted text
};
// Splices `inserted` into `text` at byte `at` (clamped to the text's length);
// a selection starting there stays behind the inserted text.
Spliced insertAt(std::string_view text, std::size_t at, std::string_view inserted);

}  // namespace penvox::insertions

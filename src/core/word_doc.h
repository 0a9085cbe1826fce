#pragma once
// Plain text of a Word 97-2003 document (.doc): the main text only (no
// headers, footers, notes, comments or text boxes), taken piece by piece from
// the piece table, in the program's bytes with CR LF line ends.
//
// Word's marks become:
//   paragraph end, line break, page or section break, column break -> CR LF
//   table cell end and row end -> CR LF: each cell's paragraphs are lines,
//       cells in document order, and each row ends with one empty line (the
//       row-end mark); a .docx table reads the same way
//   non-breaking hyphen -> "-", optional hyphen -> nothing
//   a field keeps its result and drops its code; should the document end
//       inside a field (a damaged field), nothing is dropped but the marks
//   pictures, objects, note references and other control characters -> nothing
// A document holding only one empty paragraph reads as empty text.
//
// Text stored 8-bit is read as code page 1252. Password-protected documents,
// Word 6/95 and older files and damaged files give ok == false with a reason.
// A file that is really a .docx is read as one.
#include "core/word_text.h"

#include <string>
#include <string_view>

namespace penvox::word {

// Largest file readDoc loads into memory.
inline constexpr std::size_t kMaxDocFileBytes = 512u << 20;

ReadResult readDoc(const std::string& path);
ReadResult readDocBytes(std::string_view bytes);

}  // namespace penvox::word

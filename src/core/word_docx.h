#pragma once
// Plain text of an Office Open XML word-processing document (.docx, .docm,
// .dotx): the main document part (found through the package relationships,
// word/document.xml when they name none), walked in document order, in the
// program's bytes with CR LF line ends.
//
//   each paragraph -> one line ended by CR LF (an empty paragraph is an empty
//       line); a paragraph whose mark was deleted in tracked changes runs on
//       into the next paragraph
//   tab -> "\t"; line, page and column break -> CR LF; non-breaking hyphen ->
//       "-"; optional hyphen -> nothing
//   table: each cell's paragraphs are lines, cells in document order, and each
//       row ends with one empty line, as a .doc table reads
//   tracked changes: deleted and moved-away text is left out, inserted and
//       moved-in text kept
//   a field keeps its result and drops its code (should the document end
//       inside a field, nothing is dropped)
//   left out: drawings and text boxes, pictures, symbols of symbol fonts,
//       equations, note and comment references (the .doc reader leaves the same
//       things out)
// A document holding only one empty paragraph reads as empty text.
//
// The archive is untrusted: the document part is refused when the archive
// says it is larger than the limit, and never more than the limit is read
// whatever the archive says. A password-protected document, a zip without a
// document part and damaged files give ok == false with a reason. A file that
// is really a Word 97-2003 document is read as one.
#include "core/word_text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace penvox::word {

// Largest document part (uncompressed XML) that is read.
inline constexpr std::size_t kMaxDocxPartBytes = 64u << 20;

ReadResult readDocx(const std::string& path, std::size_t maxPartBytes = kMaxDocxPartBytes);
ReadResult readDocxBytes(std::string_view bytes, std::size_t maxPartBytes = kMaxDocxPartBytes);

}  // namespace penvox::word

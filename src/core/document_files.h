#pragma once
// Document file names and the encodings a document file may come in.
//
// The program keeps a document's text as its GBK bytes (with GB18030
// four-byte sequences for characters beyond GBK). A file is read in the
// encoding it was found in and written back in that same encoding, so a
// writer's UTF-8 or UTF-16 file stays UTF-8 or UTF-16.
#include <string>
#include <string_view>

namespace penvox::documents {

// The text after the last '.' of the whole path; a path without any '.' gives
// itself. Callers compare it case-sensitively with "txt", "doc", "docx",
// "pxt" and "wav".
std::string extensionOf(std::string_view path);

// The file name is the text after the last '/'; the title is the part of the
// file name before its first '.' ("/稿/第一章.修订.txt" gives "第一章",
// ".hidden.txt" gives an empty title).
std::string titleOf(std::string_view path);

// UTF-16 files always carry their byte-order mark.
enum class Encoding { Gbk, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// A UTF-8 byte-order mark gives Utf8Bom, a UTF-16 one Utf16Le or Utf16Be;
// bytes that are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// past U+10FFFF) and hold at least one multi-byte sequence give Utf8; anything
// else is taken as GBK.
Encoding detect(std::string_view fileBytes);

// A file's bytes as program text. GBK bytes are taken as they are, up to the
// first zero byte; the other encodings are decoded (byte-order mark dropped)
// and converted to GBK bytes, losslessly thanks to the four-byte sequences.
// Malformed input is not refused: an invalid UTF-8 byte or an unpaired
// surrogate becomes '?', an odd last byte of a UTF-16 file becomes U+FFFD.
std::string toProgramText(std::string_view fileBytes, Encoding encoding);

// Program text back in a file's encoding, with its byte-order mark for
// Utf8Bom and the UTF-16 encodings; Gbk gives the bytes unchanged.
std::string fromProgramText(std::string_view programText, Encoding encoding);

}  // namespace penvox::documents

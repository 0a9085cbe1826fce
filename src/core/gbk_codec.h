#pragma once
// The program's text encoding: code page 936 (GBK) bytes, with the GB18030
// four-byte sequence for every character CP936 cannot hold, so that nothing a
// writer types is lost. For every CP936 character the bytes are exactly CP936's
// (byte 0x80 is the euro sign, as in Windows' code page 936).
//
// The few characters that GB18030 places at a double-byte code which CP936
// leaves unassigned (the user-defined areas, mapped to U+E000..U+E765, and a
// handful such as U+01F9 and U+2E81) have no four-byte sequence in GB18030;
// they are written as that GB18030 double-byte code and read back from it.
// A code point that neither table nor GB18030 can write (unpaired surrogates,
// and 24 private-use code points between U+E78D and U+E864 that the C
// library's GB18030 refuses) is written as '?'.
//
// All functions are thread-safe; the conversion tables are built by the C
// library's iconv on first use.
#include <cstddef>
#include <string>
#include <string_view>

namespace penvox::gbk {

// Width in bytes of one Unicode code point in the program's encoding:
// 1 for ASCII (and for the euro sign, byte 0x80, and for a code point written
// as '?'), 2 for a double-byte character, 4 for a GB18030 four-byte sequence.
int widthOf(char32_t codePoint);

// Unicode (UTF-16 or UTF-8) to the program's bytes. Unpaired surrogates and
// invalid UTF-8 become '?' (one per offending UTF-16 unit or UTF-8 byte).
std::string fromUtf16(std::u16string_view text);
std::string fromUtf8(std::string_view text);

// The program's bytes to Unicode. A byte sequence that is not valid becomes
// U+FFFD, one per offending byte; decoding never fails. A byte that cannot
// start a character, or a lead byte whose following bytes do not complete one,
// gives one U+FFFD and decoding goes on at the next byte; a well-formed
// four-byte sequence that GB18030 does not assign gives four U+FFFD.
std::u16string toUtf16(std::string_view bytes);
std::string toUtf8(std::string_view bytes);

// Length in bytes of a UTF-16 text once encoded (surrogate pairs weigh 4).
std::size_t byteLength(std::u16string_view text);

// Offsets for the editor adapter. The editor holds its text with "\n" between
// paragraphs; the program sees each break as CR LF, two bytes (a lone "\r" in
// the editor's text weighs 1, as any ASCII character).
// Byte offset of the UTF-16 index `index` (clamped to the text's length; an
// index between the two halves of a surrogate pair gives the pair's start).
std::size_t editorByteOffset(std::u16string_view editorText, std::size_t index);
// UTF-16 index of the byte offset `offset`: an offset inside a character or a
// CR LF break moves back to its start; an offset past the end gives the length.
std::size_t editorIndexOfByte(std::u16string_view editorText, std::size_t offset);

}  // namespace penvox::gbk

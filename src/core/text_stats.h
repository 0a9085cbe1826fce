#pragma once
// Live text statistics: the counts shown under the editor and in the
// statistics window, and the count that decides the daily writing milestones.
//
// Every figure comes from lengths in the program's encoding (GBK, with the
// GB18030 four-byte sequences beyond it): a Chinese character weighs two bytes,
// an ASCII character one, a character beyond GBK four, and a length is halved
// (fraction cut off) once, on the total.
//
// The counts are defined by four regular expressions run with the matcher over
// the text T, whose line breaks are CR LF:
//   symbols    half the length of the matches of "[^0-9a-z\u4e00-\u9fa5]"
//              (case ignored, so A-Z are not symbols; nor are the two letters
//              whose other case is ASCII, U+212A and U+017F) in T;
//   chinese    half the length of the matches of "[^\x20-\x7f]" (case ignored)
//              in the stripped text, T without its CR LF pairs and then
//              without its spaces;
//   current    half the length of the stripped text;
//   english    the number of ASCII letters in T ("[a-zA-Z]", case-sensitive);
//   digits     the number of ASCII digits in T;
//   paragraphs the number of LF in T, plus one when T is not empty and does
//              not end with LF.
// countByMatcher follows that definition literally; count gets the same
// figures in one pass over the editor's own text.
#include <string>
#include <string_view>

namespace penvox::stats {

struct Counts {
  long long symbols = 0, chinese = 0, current = 0, english = 0, digits = 0, paragraphs = 0;

  friend bool operator==(const Counts&, const Counts&) = default;
};

// One pass over the editor's UTF-16 text, in which each '\n' stands for a CR LF
// break. An unpaired surrogate counts as the '?' the program would store for it.
// Allocates nothing; the first call builds a 65536-entry table.
Counts count(std::u16string_view editorText);

// The milestone count: the text without its spaces but with its line breaks
// (each CR LF adds one), its length halved.
long long milestoneCount(std::u16string_view editorText);

// The same figures from the program's GBK text with CR LF breaks, through the
// matcher. Bytes that are not valid GBK are taken as the editor shows them,
// each as U+FFFD.
Counts countByMatcher(std::string_view gbkText);
long long milestoneCountOf(std::string_view gbkText);

// The number of LF characters, plus one when the text is not empty and its
// last character is not LF.
long long paragraphCount(std::string_view gbkText);

// The statistics window's seven lines (UTF-8, CR LF between lines):
// "字数统计", "汉字数量：…", "英文数量：…", "符号数量：…", "数字数量：…",
// "段落数：…", "当前字数：  …".
std::string breakdown(const Counts& counts);

// The label in front of the current count in the status bar's first pane.
inline constexpr const char* kStatusPrefix = "当前字数：  ";

}  // namespace penvox::stats

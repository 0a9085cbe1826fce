#pragma once
// Regular expressions over the program's GBK texts.
//
// A Matcher runs one pattern over one text and keeps the results: the number
// of matches and the text of each match and of its groups, handed out as GBK.
// The engine is PCRE2 (16-bit code units, UTF mode) set up to read patterns the
// way JavaScript and VBScript do: \uHHHH and \xHH escapes, ^ and $ at line
// breaks in multi-line mode, $ only at the very end otherwise, a reference to a
// group that took no part in the match matches the empty text, and after an
// empty match the search goes on one character further. Letters of either case
// match alike unless case-sensitive; as in any Unicode engine this also folds
// the few letters whose other case is ASCII (U+212A KELVIN SIGN matches "k",
// U+017F LATIN SMALL LETTER LONG S matches "s").
//
// The text is searched as it is: a match never reaches past its last character.
// A pattern that does not compile, or a search the engine gives up on (a
// pattern that backtracks without end), leaves no matches and execute returns
// false.
//
// A copy shares the compiled pattern and the matches (they never change once
// execute has made them) and holds its own copy of the searched text; running
// execute on either one leaves the other as it was.
#include <memory>
#include <string>
#include <string_view>

namespace penvox {

struct MatchOptions {
  bool caseSensitive = false;
  bool multiLine = true;
  bool global = true;      // every match, not only the first
  bool quoteEscape = false;  // every "#引号" in the pattern stands for a double quote
};

// The texts of all matches, joined in order, as GBK; empty when nothing
// matches or the pattern cannot run.
std::string collectMatches(std::string_view gbkPattern, std::string_view gbkText, const MatchOptions& options = {});

class Matcher {
 public:
  // Runs the pattern over the text; true when the search ran (also when it
  // found nothing), false when the pattern does not compile or the search
  // failed. The previous results are dropped either way.
  bool execute(std::string_view gbkPattern, std::string_view gbkText, const MatchOptions& options = {});

  // The pattern of the last run (after the quote escape), GBK; empty when
  // execute never ran.
  std::string pattern() const;

  // The searched text with every match of the last run replaced (only the
  // first unless global), GBK. In the replacement, $1..$99 stand for a group's
  // text (two digits when the pattern has that many groups, else one; a number
  // beyond the pattern's groups is kept literally), $& for the match, $` and
  // $' for the text before and after it, and $$ for a dollar sign. Without
  // matches the searched text comes back unchanged.
  std::string replace(std::string_view gbkReplacement) const;

  int matchCount() const;
  // Match n, counted from 1, as GBK; empty outside 1..matchCount().
  std::string matchText(int n) const;
  // Group g (from 1) of match n (from 1), as GBK; empty for a group that took
  // no part in the match or a number out of range.
  std::string subMatchText(int n, int g) const;
  // The capture groups of the first match; 0 without matches.
  int subMatchCount() const;

 private:
  struct Results;
  friend std::string collectMatches(std::string_view, std::string_view, const MatchOptions&);

  std::u16string span(std::size_t begin, std::size_t end) const;

  std::shared_ptr<const Results> results_;
  std::u16string text_;
};

}  // namespace penvox

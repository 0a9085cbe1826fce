#include "core/text_stats.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/gbk_codec.h"
#include "core/matcher.h"

namespace penvox::stats {
namespace {

constexpr const char* kSymbolPattern = "[^0-9a-z\\u4e00-\\u9fa5]";
constexpr const char* kChinesePattern = "[^\\x20-\\x7f]";
constexpr const char* kEnglishPattern = "[a-zA-Z]";
constexpr const char* kDigitPattern = "[0-9]";

// The one-pass count adds, for every UTF-16 unit, what that character adds to
// each figure, packed into one byte lane per figure of a 64-bit word. No unit
// adds more than 4 to a lane, so 63 units fit before the lanes are emptied
// into the totals.
enum Lane : unsigned { kSymbols, kChinese, kStripped, kEnglish, kDigits, kLineFeeds, kLaneCount };
constexpr std::size_t kBlock = 63;

constexpr std::uint64_t lane(Lane l, unsigned value) { return std::uint64_t(value) << (8 * l); }

struct Table {
  // What each BMP unit adds, by kind: the kinds are the distinct words, so
  // the per-unit table stays 64 KiB.
  std::array<std::uint8_t, 0x10000> kind{};
  std::array<std::uint64_t, 256> step{};
  // Surrogates take the slow path: a pair is one character beyond the BMP,
  // four bytes; an unpaired one is stored as '?'.
  static constexpr std::uint8_t kHighSurrogate = 254;
  static constexpr std::uint8_t kLowSurrogate = 255;
  std::uint64_t pairStep = 0;
  std::uint64_t questionStep = 0;
};

bool isAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

// What one character of the program's text adds to the figures, as the
// matcher's patterns see it.
std::uint64_t stepOf(char32_t c, unsigned width) {
  if (c == '\n') return lane(kSymbols, 2) | lane(kLineFeeds, 1);  // CR and LF, both symbols, both stripped
  if (c == ' ') return lane(kSymbols, 1);                          // a symbol, stripped
  if (c < 0x80) {
    if (isAsciiLetter(c)) return lane(kEnglish, 1) | lane(kStripped, 1);
    if (isAsciiDigit(c)) return lane(kDigits, 1) | lane(kStripped, 1);
    // Other ASCII: a symbol; outside \x20-\x7f (tab, CR, controls) also a
    // "Chinese character".
    return lane(kSymbols, 1) | lane(kStripped, 1) | lane(kChinese, c < 0x20 ? 1 : 0);
  }
  // Caseless matching folds these two onto ASCII letters ("k", "s"): neither
  // the symbol class (which holds a-z) nor the negated printable-ASCII class
  // matches them.
  const bool foldsToAscii = c == 0x212A || c == 0x017F;
  const bool ideograph = c >= 0x4E00 && c <= 0x9FA5;
  std::uint64_t step = lane(kStripped, width);
  if (!foldsToAscii && !ideograph) step |= lane(kSymbols, width);
  if (!foldsToAscii) step |= lane(kChinese, width);
  return step;
}

std::unique_ptr<const Table> buildTable() {
  auto t = std::make_unique<Table>();
  std::vector<std::uint64_t> kinds;
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) {
      t->kind[c] = c <= 0xDBFF ? Table::kHighSurrogate : Table::kLowSurrogate;
      continue;
    }
    std::uint64_t step;
    const int width = gbk::widthOf(c);
    if (c >= 0x80 && width == 1 && gbk::fromUtf16(std::u16string(1, static_cast<char16_t>(c))) == "?")
      step = stepOf('?', 1);  // a code point the program cannot store is stored as '?'
    else
      step = stepOf(c, static_cast<unsigned>(width));
    auto it = std::find(kinds.begin(), kinds.end(), step);
    if (it == kinds.end()) it = kinds.insert(kinds.end(), step);
    t->kind[c] = static_cast<std::uint8_t>(it - kinds.begin());
  }
  std::copy(kinds.begin(), kinds.end(), t->step.begin());
  t->questionStep = stepOf('?', 1);
  t->pairStep = stepOf(0x20000, 4);  // every code point beyond the BMP is a GB18030 four-byte sequence
  return t;
}

const Table& table() {
  static const std::unique_ptr<const Table> instance = buildTable();
  return *instance;
}

struct Tally {
  std::array<long long, kLaneCount> lanes{};
  bool endsWithLineFeed = false;
  bool empty = true;
};

Tally tally(std::u16string_view text) {
  const Table& t = table();
  const std::uint8_t* kind = t.kind.data();
  const std::uint64_t* step = t.step.data();
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  Tally result;
  std::size_t i = 0;
  while (i < n) {
    const std::size_t blockEnd = std::min(n, i + kBlock);
    std::uint64_t packed = 0;
    while (i < blockEnd) {
      const std::uint8_t k = kind[s[i]];
      if (k >= Table::kHighSurrogate) [[unlikely]] {
        if (k == Table::kHighSurrogate && i + 1 < n && kind[s[i + 1]] == Table::kLowSurrogate) {
          packed += t.pairStep;
          i += 2;
        } else {
          packed += t.questionStep;
          ++i;
        }
        continue;
      }
      packed += step[k];
      ++i;
    }
    for (unsigned l = 0; l < kLaneCount; ++l) result.lanes[l] += static_cast<long long>((packed >> (8 * l)) & 0xFF);
  }
  result.empty = n == 0;
  result.endsWithLineFeed = n > 0 && s[n - 1] == u'\n';
  return result;
}

// Bytes that are not valid GBK become U+FFFD, as in the editor.
std::string normalised(std::string_view gbkText) { return gbk::fromUtf16(gbk::toUtf16(gbkText)); }

long long halfLength(std::string_view gbk) { return static_cast<long long>(gbk.size() / 2); }

}  // namespace

Counts count(std::u16string_view editorText) {
  const Tally t = tally(editorText);
  Counts c;
  c.symbols = t.lanes[kSymbols] / 2;
  c.chinese = t.lanes[kChinese] / 2;
  c.current = t.lanes[kStripped] / 2;
  c.english = t.lanes[kEnglish];
  c.digits = t.lanes[kDigits];
  c.paragraphs = t.lanes[kLineFeeds] + (!t.empty && !t.endsWithLineFeed ? 1 : 0);
  return c;
}

long long milestoneCount(std::u16string_view editorText) {
  const Tally t = tally(editorText);
  // Without spaces but with every break's CR LF.
  return (t.lanes[kStripped] + 2 * t.lanes[kLineFeeds]) / 2;
}

Counts countByMatcher(std::string_view gbkText) {
  const std::string text = normalised(gbkText);
  MatchOptions caseSensitive;
  caseSensitive.caseSensitive = true;

  // CR LF pairs removed first, then spaces.
  std::u16string stripped16 = gbk::toUtf16(text);
  std::u16string withoutBreaks;
  withoutBreaks.reserve(stripped16.size());
  for (std::size_t i = 0; i < stripped16.size(); ++i) {
    if (stripped16[i] == u'\r' && i + 1 < stripped16.size() && stripped16[i + 1] == u'\n') {
      ++i;
      continue;
    }
    withoutBreaks += stripped16[i];
  }
  std::erase(withoutBreaks, u' ');
  const std::string stripped = gbk::fromUtf16(withoutBreaks);

  Counts c;
  c.symbols = halfLength(collectMatches(kSymbolPattern, text));
  c.chinese = halfLength(collectMatches(kChinesePattern, stripped));
  c.current = halfLength(stripped);
  c.english = static_cast<long long>(collectMatches(kEnglishPattern, text, caseSensitive).size());
  c.digits = static_cast<long long>(collectMatches(kDigitPattern, text).size());
  c.paragraphs = paragraphCount(text);
  return c;
}

long long milestoneCountOf(std::string_view gbkText) {
  const std::string text = normalised(gbkText);
  // A 0x20 byte is always a space: GBK trail bytes start at 0x40.
  const auto spaces = std::count(text.begin(), text.end(), ' ');
  return static_cast<long long>(text.size() - static_cast<std::size_t>(spaces)) / 2;
}

long long paragraphCount(std::string_view gbkText) {
  // LF never appears inside a multi-byte character.
  const auto lineFeeds = std::count(gbkText.begin(), gbkText.end(), '\n');
  return static_cast<long long>(lineFeeds) + (!gbkText.empty() && gbkText.back() != '\n' ? 1 : 0);
}

std::string breakdown(const Counts& counts) {
  std::string text = "字数统计\r\n汉字数量：";
  text += std::to_string(counts.chinese);
  text += "\r\n英文数量：";
  text += std::to_string(counts.english);
  text += "\r\n符号数量：";
  text += std::to_string(counts.symbols);
  text += "\r\n数字数量：";
  text += std::to_string(counts.digits);
  text += "\r\n段落数：";
  text += std::to_string(counts.paragraphs);
  text += "\r\n";
  text += kStatusPrefix;
  text += std::to_string(counts.current);
  return text;
}

}  // namespace penvox::stats

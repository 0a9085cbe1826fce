#include "core/matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <vector>

#include "core/gbk_codec.h"

namespace penvox {

struct Matcher::Results {
  std::u16string pattern;
  std::size_t groups = 0;  // capture groups of the pattern
  std::size_t count = 0;   // matches
  // Per match, groups + 1 pairs of start and end offsets (whole match first);
  // PCRE2_UNSET for a group that took no part in the match.
  std::vector<std::size_t> offsets;

  std::size_t stride() const { return 2 * (groups + 1); }
};

namespace {

PCRE2_SPTR16 units(std::u16string_view s) { return reinterpret_cast<PCRE2_SPTR16>(s.data()); }

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Line breaks as JavaScript sees them (CR, LF, CR LF, U+2028, U+2029, and the
// rarer VT, FF and NEL), so that ^ and $ work on the program's CR LF texts.
pcre2_compile_context_16* compileContext() {
  struct Holder {
    pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
    Holder() {
      if (context) pcre2_set_newline_16(context, PCRE2_NEWLINE_ANY);
    }
    ~Holder() { pcre2_compile_context_free_16(context); }
  };
  static const Holder holder;
  return holder.context;
}

struct CodeDeleter {
  void operator()(pcre2_code_16* code) const { pcre2_code_free_16(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data_16* data) const { pcre2_match_data_free_16(data); }
};

std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  std::u16string out;
  std::size_t done = 0;
  for (std::size_t at; (at = text.find(from, done)) != std::u16string_view::npos; done = at + from.size()) {
    out.append(text.substr(done, at - done));
    out.append(to);
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace

bool Matcher::execute(std::string_view gbkPattern, std::string_view gbkText, const MatchOptions& options) {
  results_.reset();
  auto results = std::make_shared<Results>();
  results->pattern = gbk::toUtf16(gbkPattern);
  if (options.quoteEscape) results->pattern = replaceAll(results->pattern, u"#引号", u"\"");
  text_ = gbk::toUtf16(gbkText);
  results_ = results;

  std::uint32_t compileOptions = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
  if (!options.caseSensitive) compileOptions |= PCRE2_CASELESS;
  if (options.multiLine) compileOptions |= PCRE2_MULTILINE;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  const std::unique_ptr<pcre2_code_16, CodeDeleter> code(pcre2_compile_16(
      units(results->pattern), results->pattern.size(), compileOptions, &errorCode, &errorOffset, compileContext()));
  if (!code) return false;
  pcre2_jit_compile_16(code.get(), PCRE2_JIT_COMPLETE);  // the interpreter serves where JIT cannot

  std::uint32_t groups = 0;
  pcre2_pattern_info_16(code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);
  results->groups = groups;
  const std::unique_ptr<pcre2_match_data_16, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern_16(code.get(), nullptr));
  if (!data) return false;

  const PCRE2_SPTR16 subject = units(text_);
  const std::size_t length = text_.size();
  const std::size_t stride = results->stride();
  // The whole text is checked for valid UTF-16 once, on the first search; the
  // later searches start where an earlier one stopped and skip the check (it
  // would otherwise read the rest of the text again for every match).
  std::uint32_t matchOptions = 0;
  std::size_t start = 0;
  while (start <= length) {
    int rc = pcre2_match_16(code.get(), subject, length, start, matchOptions, data.get(), nullptr);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT)  // deep recursion: the interpreter keeps its stack on the heap
      rc = pcre2_match_16(code.get(), subject, length, start, matchOptions | PCRE2_NO_JIT, data.get(), nullptr);
    matchOptions |= PCRE2_NO_UTF_CHECK;
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) {
      results->count = 0;
      results->offsets.clear();
      results->offsets.shrink_to_fit();
      return false;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data.get());
    const std::uint32_t pairs = pcre2_get_ovector_count_16(data.get());
    const std::size_t base = results->offsets.size();
    results->offsets.resize(base + stride, PCRE2_UNSET);
    // The engine reports how many pairs it set (from the first, up to the
    // highest group that took part); the rest stay unset.
    const std::size_t set = std::min<std::size_t>(rc == 0 ? pairs : static_cast<std::size_t>(rc), groups + 1);
    for (std::size_t k = 0; k < 2 * set; ++k) results->offsets[base + k] = ovector[k];
    ++results->count;
    if (!options.global) break;

    const std::size_t matchEnd = ovector[1];
    if (matchEnd > ovector[0]) {
      start = matchEnd;
    } else {
      // An empty match: the next search starts one character further on, so
      // that a pattern matching the empty text cannot stop the search.
      if (matchEnd >= length) break;
      start = matchEnd + 1;
      if (isHighSurrogate(text_[matchEnd]) && start < length && isLowSurrogate(text_[start])) ++start;
    }
  }
  return true;
}

std::string Matcher::pattern() const { return results_ ? gbk::fromUtf16(results_->pattern) : std::string(); }

int Matcher::matchCount() const { return results_ ? static_cast<int>(results_->count) : 0; }

int Matcher::subMatchCount() const {
  return results_ && results_->count > 0 ? static_cast<int>(results_->groups) : 0;
}

std::u16string Matcher::span(std::size_t begin, std::size_t end) const {
  if (begin == PCRE2_UNSET || end == PCRE2_UNSET || begin > end || end > text_.size()) return {};
  return text_.substr(begin, end - begin);
}

std::string Matcher::matchText(int n) const { return subMatchText(n, 0); }

std::string Matcher::subMatchText(int n, int g) const {
  if (!results_ || n < 1 || static_cast<std::size_t>(n) > results_->count || g < 0 ||
      static_cast<std::size_t>(g) > results_->groups)
    return {};
  const std::size_t at = (static_cast<std::size_t>(n) - 1) * results_->stride() + 2 * static_cast<std::size_t>(g);
  return gbk::fromUtf16(span(results_->offsets[at], results_->offsets[at + 1]));
}

std::string Matcher::replace(std::string_view gbkReplacement) const {
  if (!results_ || results_->count == 0) return gbk::fromUtf16(text_);
  const std::u16string replacement = gbk::toUtf16(gbkReplacement);
  const std::size_t groups = results_->groups;
  const std::size_t stride = results_->stride();
  std::u16string out;
  out.reserve(text_.size());
  std::size_t copied = 0;  // text_ up to here is in `out`
  for (std::size_t m = 0; m < results_->count; ++m) {
    const std::size_t* offsets = results_->offsets.data() + m * stride;
    const std::size_t begin = offsets[0];
    const std::size_t end = offsets[1];
    if (begin < copied || begin > end) continue;  // cannot happen with the patterns the engine accepts
    out.append(text_, copied, begin - copied);
    for (std::size_t i = 0; i < replacement.size(); ++i) {
      const char16_t c = replacement[i];
      if (c != u'$' || i + 1 == replacement.size()) {
        out += c;
        continue;
      }
      const char16_t next = replacement[i + 1];
      if (next == u'$') {
        out += u'$';
        ++i;
      } else if (next == u'&') {
        out.append(text_, begin, end - begin);
        ++i;
      } else if (next == u'`') {
        out.append(text_, 0, begin);
        ++i;
      } else if (next == u'\'') {
        out.append(text_, end, std::u16string::npos);
        ++i;
      } else if (next >= u'0' && next <= u'9') {
        // Two digits when they name a group of the pattern, else one digit
        // when that names a group; otherwise the text stays as written.
        std::size_t group = 0;
        std::size_t digits = 0;
        if (i + 2 < replacement.size() && replacement[i + 2] >= u'0' && replacement[i + 2] <= u'9') {
          const std::size_t two = static_cast<std::size_t>(next - u'0') * 10 + (replacement[i + 2] - u'0');
          if (two >= 1 && two <= groups) {
            group = two;
            digits = 2;
          }
        }
        if (digits == 0) {
          const std::size_t one = static_cast<std::size_t>(next - u'0');
          if (one >= 1 && one <= groups) {
            group = one;
            digits = 1;
          }
        }
        if (digits == 0) {
          out += c;
          continue;
        }
        out += span(offsets[2 * group], offsets[2 * group + 1]);
        i += digits;
      } else {
        out += c;
      }
    }
    copied = end;
  }
  out.append(text_, copied, std::u16string::npos);
  return gbk::fromUtf16(out);
}

std::string collectMatches(std::string_view gbkPattern, std::string_view gbkText, const MatchOptions& options) {
  Matcher matcher;
  if (!matcher.execute(gbkPattern, gbkText, options)) return {};
  const Matcher::Results& results = *matcher.results_;
  // Joined as UTF-16 and converted once: matches never split a character, so
  // this gives the same bytes as converting match by match.
  std::u16string joined;
  for (std::size_t m = 0; m < results.count; ++m) {
    const std::size_t* offsets = results.offsets.data() + m * results.stride();
    if (offsets[1] > offsets[0]) joined.append(matcher.text_, offsets[0], offsets[1] - offsets[0]);
  }
  return gbk::fromUtf16(joined);
}

}  // namespace penvox

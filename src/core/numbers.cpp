#include "core/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <system_error>

#include "core/gbk_codec.h"

namespace penvox::numbers {
namespace {

// Double-byte GBK code (lead << 8 | trail) to the ASCII character it folds
// to, 0 for none. Built from the codec, so the codes are CP936's own (the
// full-width dollar sign and tilde, for one, lie outside row A3).
std::unique_ptr<const std::array<char, 0x10000>> buildFoldTable() {
  auto table = std::make_unique<std::array<char, 0x10000>>();
  table->fill('\0');
  auto add = [&table](char16_t c, char ascii) {
    const std::string bytes = gbk::fromUtf16(std::u16string_view(&c, 1));
    if (bytes.size() != 2) return;
    const unsigned code = unsigned(static_cast<unsigned char>(bytes[0])) << 8 |
                          static_cast<unsigned char>(bytes[1]);
    (*table)[code] = ascii;
  };
  for (char16_t c = 0xFF01; c <= 0xFF5E; ++c) add(c, static_cast<char>(c - 0xFF01 + 0x21));
  add(0x3000, ' ');
  return table;
}

const std::array<char, 0x10000>& foldTable() {
  static const std::unique_ptr<const std::array<char, 0x10000>> table = buildFoldTable();
  return *table;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string format(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return "0";  // also -0.0
  // A whole double has at most 309 digits; a "%.13g" text is far shorter.
  std::array<char, 400> buffer;
  std::to_chars_result r;
  if (value == std::trunc(value)) {
    r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 0);
  } else {
    r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 13);
  }
  return std::string(buffer.data(), r.ptr);
}

std::string format(std::int64_t value) {
  std::array<char, 24> buffer;
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), r.ptr);
}

std::string foldFullWidth(std::string_view gbkText) {
  const auto& fold = foldTable();
  const auto* s = reinterpret_cast<const unsigned char*>(gbkText.data());
  const std::size_t n = gbkText.size();
  std::string out;
  out.reserve(n);
  std::size_t i = 0;
  // Walks the characters as the codec does, so that a trail byte is never
  // taken for the start of a character.
  while (i < n) {
    const unsigned b = s[i];
    if (b >= 0x81 && b <= 0xFE && i + 1 < n) {
      const unsigned c = s[i + 1];
      if (c >= 0x40 && c <= 0xFE && c != 0x7F) {
        if (const char ascii = fold[b << 8 | c])
          out.push_back(ascii);
        else
          out.append(gbkText.substr(i, 2));
        i += 2;
        continue;
      }
      if (c >= 0x30 && c <= 0x39 && i + 3 < n && s[i + 2] >= 0x81 && s[i + 2] <= 0xFE &&
          s[i + 3] >= 0x30 && s[i + 3] <= 0x39) {
        out.append(gbkText.substr(i, 4));
        i += 4;
        continue;
      }
    }
    out.push_back(static_cast<char>(b));
    ++i;
  }
  return out;
}

double toNumber(std::string_view gbkText) {
  const std::string text = foldFullWidth(gbkText);
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t integerDigits = 0;
  while (i < n && isDigit(text[i])) ++i, ++integerDigits;
  std::size_t fractionDigits = 0;
  if (i < n && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < n && isDigit(text[j])) ++j, ++fractionDigits;
    if (integerDigits + fractionDigits > 0) i = j;
  }
  if (integerDigits + fractionDigits == 0) return 0.0;
  const std::size_t mantissaEnd = i;
  // The exponent counts only with at least one digit.
  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      negativeExponent = text[j] == '-';
      ++j;
    }
    if (j < n && isDigit(text[j])) {
      while (j < n && isDigit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const auto r = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: atof gives infinity or zero.
    // Which one follows from the position of the first significant digit.
    long firstDigit = -1;  // index among the mantissa's digits
    long index = 0;
    for (std::size_t k = start; k < mantissaEnd; ++k) {
      if (!isDigit(text[k])) continue;
      if (text[k] != '0') {
        firstDigit = index;
        break;
      }
      ++index;
    }
    const long magnitude = static_cast<long>(integerDigits) - firstDigit + exponent;
    value = (firstDigit >= 0 && magnitude > 0) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int64_t toInteger(std::string_view gbkText) {
  const double value = std::trunc(toNumber(gbkText));
  if (std::isnan(value)) return 0;
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (value >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

}  // namespace penvox::numbers

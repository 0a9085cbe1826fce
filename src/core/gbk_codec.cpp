#include "core/gbk_codec.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace penvox::gbk {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kSubstitute = '?';

bool isLeadByte(unsigned b) { return b >= 0x81 && b <= 0xFE; }
bool isDoubleByteTrail(unsigned b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool isFourByteDigit(unsigned b) { return b >= 0x30 && b <= 0x39; }
bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// One iconv conversion descriptor. Not thread-safe: each owner uses its own.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in` into `out`; the number of bytes written, or -1 when
  // the input is not converted entirely.
  int convert(const char* in, std::size_t inLength, char* out, std::size_t outCapacity) {
    if (!ok()) return -1;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    std::size_t inLeft = inLength;
    char* outPtr = out;
    std::size_t outLeft = outCapacity;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
      return -1;
    if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return -1;
    return static_cast<int>(outCapacity - outLeft);
  }

 private:
  iconv_t cd_;
};

char32_t readUtf32le(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return char32_t(u[0]) | char32_t(u[1]) << 8 | char32_t(u[2]) << 16 | char32_t(u[3]) << 24;
}

void writeUtf32le(char32_t c, char* p) {
  p[0] = static_cast<char>(c & 0xFF);
  p[1] = static_cast<char>((c >> 8) & 0xFF);
  p[2] = static_cast<char>((c >> 16) & 0xFF);
  p[3] = static_cast<char>((c >> 24) & 0xFF);
}

// Decodes `length` bytes that must make exactly one character; 0 when they do not.
char32_t decodeOne(Iconv& cd, const char* bytes, std::size_t length) {
  char out[16];
  if (cd.convert(bytes, length, out, sizeof out) != 4) return 0;
  char32_t c = readUtf32le(out);
  if (c > 0x10FFFF || isSurrogate(c)) return 0;
  return c;
}

// The common path: every character of one or two bytes, both ways.
struct Tables {
  // BMP code point to bytes: 0 when not in the table, a value below 0x100 for
  // a single byte (only CP936's 0x80), lead << 8 | trail for a double byte.
  std::array<std::uint16_t, 0x10000> encode{};
  // Bytes to BMP code point, 0 when unassigned: index lead << 8 | trail for a
  // double byte, index b for a single byte 0x80..0xFF.
  std::array<char16_t, 0x10000> decode{};
};

std::unique_ptr<const Tables> buildTables() {
  auto t = std::make_unique<Tables>();
  Iconv cp936("UTF-32LE", "CP936");
  Iconv gb18030("UTF-32LE", "GB18030");
  auto assign = [&t](unsigned code, char32_t c) {
    if (c < 0x80 || c > 0xFFFF) return;  // never ASCII, never beyond the BMP
    t->decode[code] = static_cast<char16_t>(c);
    if (t->encode[c] == 0) t->encode[c] = static_cast<std::uint16_t>(code);
  };
  // CP936's single bytes above ASCII (0x80, the euro sign).
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    const char in = static_cast<char>(b);
    assign(b, decodeOne(cp936, &in, 1));
  }
  // CP936's double bytes first, so that every CP936 character keeps its bytes.
  std::vector<unsigned> unassigned;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const unsigned code = lead << 8 | trail;
      if (char32_t c = decodeOne(cp936, in, 2))
        assign(code, c);
      else
        unassigned.push_back(code);
    }
  }
  // Then the double bytes that only GB18030 assigns (user-defined areas and a
  // few others): GB18030 has no four-byte sequence for those characters.
  for (unsigned code : unassigned) {
    const char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    assign(code, decodeOne(gb18030, in, 2));
  }
  return t;
}

const Tables& tables() {
  static const std::unique_ptr<const Tables> instance = buildTables();
  return *instance;
}

// The rare path: four-byte sequences through iconv GB18030, one character at a
// time, with a small per-thread cache (a text of emoji repeats a few of them).
class RareConverter {
 public:
  // Writes the GB18030 bytes of `c` (not in the tables) to `out`; the number of
  // bytes, or 0 when GB18030 cannot write it.
  int encode(char32_t c, char* out) {
    EncodeEntry& e = encodeCache_[hash(c)];
    if (e.codePoint != c) {
      char in[4];
      writeUtf32le(c, in);
      char bytes[16];
      const int n = encoder_.convert(in, 4, bytes, sizeof bytes);
      e.codePoint = c;
      e.length = (n == 2 || n == 4) ? static_cast<std::uint8_t>(n) : 0;
      for (int k = 0; k < e.length; ++k) e.bytes[k] = bytes[k];
    }
    for (int k = 0; k < e.length; ++k) out[k] = e.bytes[k];
    return e.length;
  }

  // The code point of the well-formed four-byte sequence at `p`, 0 when
  // GB18030 does not assign it.
  char32_t decodeFour(const unsigned char* p) {
    const std::uint32_t key = std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 |
                              std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
    DecodeEntry& e = decodeCache_[hash(key)];
    if (e.sequence != key) {
      e.sequence = key;
      e.codePoint = decodeOne(decoder_, reinterpret_cast<const char*>(p), 4);
    }
    return e.codePoint;
  }

 private:
  static std::size_t hash(std::uint32_t v) { return (v * 2654435761u) >> 24; }

  struct EncodeEntry {
    char32_t codePoint = 0xFFFFFFFF;  // never a code point
    std::uint8_t length = 0;
    char bytes[4] = {};
  };
  struct DecodeEntry {
    std::uint32_t sequence = 0;  // never a four-byte sequence
    char32_t codePoint = 0;
  };

  Iconv encoder_{"GB18030", "UTF-32LE"};
  Iconv decoder_{"UTF-32LE", "GB18030"};
  std::array<EncodeEntry, 256> encodeCache_{};
  std::array<DecodeEntry, 256> decodeCache_{};
};

RareConverter& rare() {
  thread_local RareConverter converter;
  return converter;
}

// Writes the bytes of `c` to `out` (room for 4); returns how many.
int encodeCodePoint(const Tables& t, char32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (isSurrogate(c) || c > 0x10FFFF) {
    out[0] = kSubstitute;
    return 1;
  }
  if (c <= 0xFFFF) {
    const std::uint16_t e = t.encode[c];
    if (e >= 0x100) {
      out[0] = static_cast<char>(e >> 8);
      out[1] = static_cast<char>(e & 0xFF);
      return 2;
    }
    if (e != 0) {
      out[0] = static_cast<char>(e);
      return 1;
    }
  }
  if (int n = rare().encode(c, out)) return n;
  out[0] = kSubstitute;
  return 1;
}

// Decodes the character at s[i] (i < n) into `out` (one code point, or four
// U+FFFD for an unassigned four-byte sequence); returns how many bytes it took
// and sets `count` to the number of code points.
std::size_t decodeAt(const Tables& t, const unsigned char* s, std::size_t n, std::size_t i,
                     char32_t out[4], int& count) {
  count = 1;
  const unsigned b = s[i];
  if (b < 0x80) {
    out[0] = b;
    return 1;
  }
  if (isLeadByte(b) && i + 1 < n) {
    const unsigned c = s[i + 1];
    if (isDoubleByteTrail(c)) {
      if (const char16_t u = t.decode[b << 8 | c]) {
        out[0] = u;
        return 2;
      }
    } else if (isFourByteDigit(c) && i + 3 < n && isLeadByte(s[i + 2]) && isFourByteDigit(s[i + 3])) {
      if (const char32_t u = rare().decodeFour(s + i)) {
        out[0] = u;
      } else {
        count = 4;
        for (int k = 0; k < 4; ++k) out[k] = kReplacement;
      }
      return 4;
    }
  } else if (const char16_t u = t.decode[b]) {  // a single byte above ASCII
    out[0] = u;
    return 1;
  }
  out[0] = kReplacement;  // one per offending byte
  return 1;
}

// Bytes and UTF-16 units of the character at text[i].
struct Step {
  std::size_t bytes;
  std::size_t units;
};

Step stepAt(const Tables& t, std::u16string_view text, std::size_t i, bool editor) {
  const char16_t c = text[i];
  if (c < 0x80) return {(editor && c == u'\n') ? 2u : 1u, 1};
  if (!isSurrogate(c)) {
    const std::uint16_t e = t.encode[c];
    if (e >= 0x100) return {2, 1};
    if (e != 0) return {1, 1};
    char out[4];
    return {static_cast<std::size_t>(encodeCodePoint(t, c, out)), 1};
  }
  if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
    const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    char out[4];
    return {static_cast<std::size_t>(encodeCodePoint(t, cp, out)), 2};
  }
  return {1, 1};  // an unpaired surrogate, written as '?'
}

// Decodes one UTF-8 sequence at s[0..available); its length, or 0 when invalid.
int decodeUtf8(const unsigned char* s, std::size_t available, char32_t& out) {
  const unsigned b0 = s[0];
  if (b0 < 0x80) {
    out = b0;
    return 1;
  }
  int length;
  unsigned low = 0x80, high = 0xBF;  // range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    out = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    out = b0 & 0x0F;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    out = b0 & 0x07;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (available < static_cast<std::size_t>(length)) return 0;
  if (s[1] < low || s[1] > high) return 0;
  out = out << 6 | (s[1] & 0x3F);
  for (int k = 2; k < length; ++k) {
    if (s[k] < 0x80 || s[k] > 0xBF) return 0;
    out = out << 6 | (s[k] & 0x3F);
  }
  return length;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

int widthOf(char32_t codePoint) {
  char out[4];
  return encodeCodePoint(tables(), codePoint, out);
}

std::string fromUtf16(std::u16string_view text) {
  const Tables& t = tables();
  const std::uint16_t* encode = t.encode.data();
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  // Two bytes per unit hold everything but a BMP character written in four
  // bytes; room is made for those as they come.
  std::string out(2 * n, '\0');
  char* base = out.data();
  char* p = base;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = s[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    const std::uint16_t e = encode[c];  // 0 for surrogates
    if (e >= 0x100) {
      p[0] = static_cast<char>(e >> 8);
      p[1] = static_cast<char>(e & 0xFF);
      p += 2;
      continue;
    }
    if (e != 0) {
      *p++ = static_cast<char>(e);
      continue;
    }
    char32_t cp = c;
    if (isSurrogate(c)) {
      if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(s[i + 1])) {
        cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00);
        ++i;
      } else {
        *p++ = kSubstitute;
        continue;
      }
    }
    const std::size_t used = static_cast<std::size_t>(p - base);
    const std::size_t needed = used + 4 + 2 * (n - i - 1);
    if (needed > out.size()) {
      out.resize(needed + n / 16);
      base = out.data();
      p = base + used;
    }
    p += encodeCodePoint(t, cp, p);
  }
  out.resize(static_cast<std::size_t>(p - base));
  return out;
}

std::string fromUtf8(std::string_view text) {
  const Tables& t = tables();
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::string out;
  out.reserve(n);
  std::size_t i = 0;
  while (i < n) {
    char32_t c;
    const int length = decodeUtf8(s + i, n - i, c);
    if (length == 0) {
      out.push_back(kSubstitute);
      ++i;
      continue;
    }
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(encodeCodePoint(t, c, bytes)));
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::u16string toUtf16(std::string_view bytes) {
  const Tables& t = tables();
  const char16_t* decode = t.decode.data();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  // Never more units than bytes: one or two units per character of one, two
  // or four bytes, one U+FFFD per offending byte. The buffer is left
  // uninitialised: filling a u16string costs more than the decoding in an
  // unoptimised build.
  const std::unique_ptr<char16_t[]> buffer(new char16_t[n == 0 ? 1 : n]);
  char16_t* const base = buffer.get();
  char16_t* p = base;
  std::size_t i = 0;
  while (i < n) {
    const unsigned b = s[i];
    if (b < 0x80) {
      *p++ = static_cast<char16_t>(b);
      ++i;
      continue;
    }
    if (i + 1 < n && b != 0x80 && b != 0xFF) {
      const unsigned c = s[i + 1];
      if (c >= 0x40 && c != 0x7F && c != 0xFF) {
        if (const char16_t u = decode[b << 8 | c]) {
          *p++ = u;
          i += 2;
          continue;
        }
      }
    }
    char32_t cps[4];
    int count;
    i += decodeAt(t, s, n, i, cps, count);
    for (int k = 0; k < count; ++k) {
      char32_t c = cps[k];
      if (c < 0x10000) {
        *p++ = static_cast<char16_t>(c);
      } else {
        c -= 0x10000;
        *p++ = static_cast<char16_t>(0xD800 + (c >> 10));
        *p++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
      }
    }
  }
  return std::u16string(base, static_cast<std::size_t>(p - base));
}

std::string toUtf8(std::string_view bytes) {
  const Tables& t = tables();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::string out;
  out.reserve(n + n / 2);
  std::size_t i = 0;
  while (i < n) {
    char32_t cps[4];
    int count;
    i += decodeAt(t, s, n, i, cps, count);
    for (int k = 0; k < count; ++k) appendUtf8(out, cps[k]);
  }
  return out;
}

std::size_t byteLength(std::u16string_view text) {
  const Tables& t = tables();
  const std::uint16_t* encode = t.encode.data();
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < n;) {
    const char16_t c = s[i];
    if (c < 0x80) {
      ++bytes;
      ++i;
    } else if (const std::uint16_t e = encode[c]) {  // 0 for surrogates
      bytes += e >= 0x100 ? 2 : 1;
      ++i;
    } else {
      const Step step = stepAt(t, text, i, false);
      bytes += step.bytes;
      i += step.units;
    }
  }
  return bytes;
}

std::size_t editorByteOffset(std::u16string_view editorText, std::size_t index) {
  const Tables& t = tables();
  const std::uint16_t* encode = t.encode.data();
  const char16_t* s = editorText.data();
  if (index > editorText.size()) index = editorText.size();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < index;) {
    const char16_t c = s[i];
    if (c < 0x80) {
      bytes += c == u'\n' ? 2 : 1;
      ++i;
    } else if (const std::uint16_t e = encode[c]) {
      bytes += e >= 0x100 ? 2 : 1;
      ++i;
    } else {
      const Step step = stepAt(t, editorText, i, true);
      if (i + step.units > index) break;  // inside a surrogate pair: its start
      bytes += step.bytes;
      i += step.units;
    }
  }
  return bytes;
}

std::size_t editorIndexOfByte(std::u16string_view editorText, std::size_t offset) {
  const Tables& t = tables();
  const std::uint16_t* encode = t.encode.data();
  const char16_t* s = editorText.data();
  const std::size_t n = editorText.size();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < n;) {
    const char16_t c = s[i];
    std::size_t width;
    std::size_t units = 1;
    if (c < 0x80) {
      width = c == u'\n' ? 2 : 1;
    } else if (const std::uint16_t e = encode[c]) {
      width = e >= 0x100 ? 2 : 1;
    } else {
      const Step step = stepAt(t, editorText, i, true);
      width = step.bytes;
      units = step.units;
    }
    if (offset < bytes + width) return i;
    bytes += width;
    i += units;
  }
  return n;
}

}  // namespace penvox::gbk

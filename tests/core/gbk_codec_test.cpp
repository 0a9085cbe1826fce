#include "core/gbk_codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace gbk = penvox::gbk;

namespace {

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

std::u16string utf16Of(char32_t c) {
  if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
  c -= 0x10000;
  return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

// The C library's own CP936 decoding of a double-byte code, 0 when unassigned.
class Cp936 {
 public:
  Cp936() : cd_(iconv_open("UTF-32LE", "CP936")) {}
  ~Cp936() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  char32_t decode(const char* bytes, std::size_t length) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = length;
    unsigned char out[8];
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        outLeft != sizeof out - 4)
      return 0;
    return char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
  }

 private:
  iconv_t cd_;
};

struct RoundTrip {
  const char* name;
  std::u16string text;
  std::string bytes;  // expected bytes; empty: only the round trip is checked
};

class CodecRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CodecRoundTrip, EncodesToKnownBytesAndBack) {
  const RoundTrip& c = GetParam();
  const std::string bytes = gbk::fromUtf16(c.text);
  if (!c.bytes.empty()) {
    EXPECT_EQ(hex(bytes), hex(c.bytes));
  }
  EXPECT_EQ(gbk::toUtf16(bytes), c.text);
  EXPECT_EQ(gbk::byteLength(c.text), bytes.size());
  // The UTF-8 entry points agree with the UTF-16 ones.
  std::string utf8;
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    char32_t cp = c.text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < c.text.size()) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (char32_t(c.text[i + 1]) - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      utf8 += static_cast<char>(cp);
    } else if (cp < 0x800) {
      utf8 += static_cast<char>(0xC0 | (cp >> 6));
      utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (cp >> 12));
      utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (cp >> 18));
      utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  EXPECT_EQ(hex(gbk::fromUtf8(utf8)), hex(bytes));
  EXPECT_EQ(gbk::toUtf8(bytes), utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecRoundTrip,
    ::testing::Values(
        RoundTrip{"Empty", u"", ""},
        RoundTrip{"Ascii", u"Hello, world! 0123\r\n\t~", "Hello, world! 0123\r\n\t~"},
        RoundTrip{"Nul", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        RoundTrip{"Zhong", u"中", "\xD6\xD0"},
        RoundTrip{"NiHao", u"你好", "\xC4\xE3\xBA\xC3"},
        RoundTrip{"Mixed", u"第1章 春天", "\xB5\xDA" "1" "\xD5\xC2 \xB4\xBA\xCC\xEC"},
        RoundTrip{"FullWidthSigns", u"１２３．５－＋（）",
                  "\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xAE\xA3\xB5\xA3\xAD\xA3\xAB\xA3\xA8\xA3\xA9"},
        RoundTrip{"IdeographicSpaceAndPunctuation", u"　，。、“”", "\xA1\xA1\xA3\xAC\xA1\xA3\xA1\xA2\xA1\xB0\xA1\xB1"},
        RoundTrip{"Euro", u"€", "\x80"},
        RoundTrip{"EuroAmidText", u"价格100€。", "\xBC\xDB\xB8\xF1" "100" "\x80\xA1\xA3"},
        RoundTrip{"CjkExtensionA", u"\u4DB6", "\x82\x35\x87\x39"},
        RoundTrip{"BeyondBmp", u"\U00020000", "\x95\x32\x82\x36"},
        RoundTrip{"Emoji", u"\U0001F600", "\x94\x39\xFC\x36"},
        RoundTrip{"LastCodePoint", u"\U0010FFFF", "\xE3\x32\x9A\x35"},
        RoundTrip{"FirstFourByte", u"\u0080", "\x81\x30\x81\x30"},
        RoundTrip{"Bom", u"\uFEFF", "\x84\x31\x95\x33"},
        RoundTrip{"UserDefinedArea", u"\uE000", "\xAA\xA1"},
        RoundTrip{"TagCharacter", u"\U000E0041", ""},
        RoundTrip{"Everything", u"a中€\u4DB6\U00020000\U0001F600\r\n文", ""}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

struct Width {
  char32_t codePoint;
  int width;
};

class CodecWidth : public ::testing::TestWithParam<Width> {};

TEST_P(CodecWidth, MatchesEncodedLength) {
  const Width& w = GetParam();
  EXPECT_EQ(gbk::widthOf(w.codePoint), w.width);
  if ((w.codePoint < 0xD800 || w.codePoint > 0xDFFF) && w.codePoint <= 0x10FFFF) {
    EXPECT_EQ(gbk::fromUtf16(utf16Of(w.codePoint)).size(), static_cast<std::size_t>(w.width));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CodecWidth,
                         ::testing::Values(Width{U'\0', 1}, Width{U'A', 1}, Width{U'\r', 1},
                                           Width{U'\n', 1}, Width{0x7F, 1}, Width{U'中', 2},
                                           Width{U'，', 2}, Width{0x3000, 2}, Width{0x20AC, 1},
                                           Width{0x0080, 4}, Width{0x4DB6, 4}, Width{0x20000, 4},
                                           Width{0x1F600, 4}, Width{0xD800, 1}, Width{0xDFFF, 1},
                                           Width{0x110000, 1}));

TEST(Codec, LoneCarriageReturnInUtf16IsOneByte) {
  EXPECT_EQ(gbk::fromUtf16(u"a\rb"), "a\rb");
  EXPECT_EQ(gbk::byteLength(u"a\rb"), 3u);
  EXPECT_EQ(gbk::editorByteOffset(u"a\rb", 3), 3u);
}

TEST(Codec, EveryCp936CharacterKeepsCp936Bytes) {
  Cp936 cp936;
  ASSERT_TRUE(cp936.ok());
  int checked = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const char32_t c = cp936.decode(bytes.data(), 2);
      if (c == 0) continue;
      ++checked;
      ASSERT_EQ(gbk::toUtf16(bytes), utf16Of(c)) << hex(bytes);
      ASSERT_EQ(hex(gbk::fromUtf16(utf16Of(c))), hex(bytes)) << "U+" << std::hex << unsigned(c);
      ASSERT_EQ(gbk::widthOf(c), 2);
    }
  }
  EXPECT_GT(checked, 21000);  // CP936 holds 21,791 double-byte characters
}

TEST(Codec, EveryBmpCodePointRoundTrips) {
  int substituted = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::u16string text = utf16Of(c);
    const std::string bytes = gbk::fromUtf16(text);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(gbk::widthOf(c))) << "U+" << std::hex << unsigned(c);
    if (c != U'?' && bytes == "?") {
      // Only the few private-use code points the C library's GB18030 refuses.
      ASSERT_TRUE(c >= 0xE000 && c <= 0xF8FF) << "U+" << std::hex << unsigned(c);
      ++substituted;
      continue;
    }
    ASSERT_EQ(gbk::toUtf16(bytes), text) << "U+" << std::hex << unsigned(c) << " " << hex(bytes);
  }
  EXPECT_LE(substituted, 32);
}

TEST(Codec, SupplementaryPlanesRoundTripInFourBytes) {
  std::vector<char32_t> samples = {0x10000, 0x1F600, 0x1F9D1, 0x20000, 0x2A6D6, 0xE0001, 0xE007F, 0x10FFFF};
  for (char32_t c = 0x10000; c <= 0x10FFFF; c += 251) samples.push_back(c);
  for (char32_t c : samples) {
    const std::u16string text = utf16Of(c);
    const std::string bytes = gbk::fromUtf16(text);
    ASSERT_EQ(bytes.size(), 4u) << "U+" << std::hex << unsigned(c);
    ASSERT_EQ(gbk::widthOf(c), 4);
    ASSERT_EQ(gbk::toUtf16(bytes), text) << "U+" << std::hex << unsigned(c);
  }
}

struct Invalid {
  const char* name;
  std::string bytes;
  std::u16string text;
};

class CodecInvalid : public ::testing::TestWithParam<Invalid> {};

TEST_P(CodecInvalid, DecodesToReplacementCharacters) {
  const Invalid& c = GetParam();
  EXPECT_EQ(gbk::toUtf16(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecInvalid,
    ::testing::Values(
        Invalid{"TruncatedDoubleByteAtEnd", "ab\xD6", u"ab\uFFFD"},
        Invalid{"LoneLeadByteBeforeAscii", "\xD6!", u"\uFFFD!"},
        Invalid{"LeadByteBeforeDelete", "\xD6\x7F", u"\uFFFD\x7F"},
        Invalid{"LeadByteBeforeNul", std::string("\xD6\0", 2), std::u16string(u"\uFFFD\0", 2)},
        Invalid{"ByteFF", "\xFF", u"\uFFFD"},
        Invalid{"TwoLeadBytesAtEnd", "\xD6\xD0\xD6", u"中\uFFFD"},
        Invalid{"TruncatedFourByteOne", "\x81\x30", u"\uFFFD" "0"},
        Invalid{"TruncatedFourByteTwo", "\x95\x32\x82", u"\uFFFD" "2\uFFFD"},
        Invalid{"FourByteBadFourth", "\x95\x32\x82!", u"\uFFFD" "2\uFFFD!"},
        Invalid{"UnassignedFourByteBmp", "\x84\x31\xA5\x30", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Invalid{"UnassignedFourBytePastLast", "\xE3\x32\x9A\x36", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Invalid{"UnassignedFourByteHigh", "\xFE\x39\xFE\x39" "x", u"\uFFFD\uFFFD\uFFFD\uFFFDx"}),
    [](const ::testing::TestParamInfo<Invalid>& info) { return std::string(info.param.name); });

TEST(Codec, AsciiLettersAreDoubleByteTrailBytes) {
  // GBK trail bytes run from 0x40: a lead byte before a letter makes one character.
  EXPECT_EQ(gbk::toUtf16("\xD6" "a"), gbk::toUtf16(gbk::fromUtf16(gbk::toUtf16("\xD6" "a"))));
  EXPECT_EQ(gbk::toUtf16("\xD6" "a").size(), 1u);
}

TEST(Codec, Gb18030OnlyDoubleBytesAreRead) {
  // GB18030's own code for the euro sign reads as the euro sign, which is then
  // written as CP936's 0x80.
  EXPECT_EQ(gbk::toUtf16("\xA2\xE3"), u"€");
  EXPECT_EQ(gbk::fromUtf16(gbk::toUtf16("\xA2\xE3")), "\x80");
  // The user-defined area reads as private use and is written back unchanged.
  EXPECT_EQ(gbk::toUtf16("\xAA\xA1\xFE\xFE"), u"\uE000\uE4C5");
  EXPECT_EQ(gbk::fromUtf16(u"\uE000\uE4C5"), "\xAA\xA1\xFE\xFE");
}

TEST(Codec, EveryOneAndTwoByteInputDecodesWithoutFailing) {
  for (unsigned a = 0; a < 256; ++a) {
    const std::string one{static_cast<char>(a)};
    ASSERT_EQ(gbk::toUtf16(one).size(), 1u);
    for (unsigned b = 0; b < 256; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      const std::u16string text = gbk::toUtf16(two);
      ASSERT_GE(text.size(), 1u);
      ASSERT_LE(text.size(), 2u);
      ASSERT_FALSE(gbk::toUtf8(two).empty());
    }
  }
}

TEST(Codec, RandomBytesDecodeAndReencodeStably) {
  std::mt19937 random(936);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(static_cast<std::size_t>(byte(random) % 40), '\0');
    for (char& b : bytes) b = static_cast<char>(byte(random));
    const std::u16string text = gbk::toUtf16(bytes);
    ASSERT_LE(text.size(), bytes.size());
    // Whatever came out is text the codec writes and reads back unchanged
    // (U+FFFD itself is a four-byte character).
    ASSERT_EQ(gbk::toUtf16(gbk::fromUtf16(text)), text) << hex(bytes);
  }
}

TEST(Codec, UnpairedSurrogatesAndInvalidUtf8BecomeQuestionMarks) {
  EXPECT_EQ(gbk::fromUtf16(std::u16string{u'a', char16_t(0xD800), u'b'}), "a?b");
  EXPECT_EQ(gbk::fromUtf16(std::u16string{char16_t(0xDC00), char16_t(0xD800)}), "??");
  EXPECT_EQ(gbk::fromUtf16(std::u16string{u'中', char16_t(0xD83D)}), "\xD6\xD0?");
  EXPECT_EQ(gbk::byteLength(std::u16string{char16_t(0xD800), u'a'}), 2u);
  EXPECT_EQ(gbk::fromUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(gbk::fromUtf8("\xE4\xB8"), "??");                 // truncated 中
  EXPECT_EQ(gbk::fromUtf8("\xC0\xAF"), "??");                 // overlong '/'
  EXPECT_EQ(gbk::fromUtf8("\xED\xA0\x80"), "???");            // encoded surrogate
  EXPECT_EQ(gbk::fromUtf8("\xF4\x90\x80\x80"), "????");       // beyond U+10FFFF
  EXPECT_EQ(gbk::fromUtf8("\xE4\xB8\xAD"), "\xD6\xD0");       // 中
}

// "中a\nb😀c": 中 at bytes 0-1, a at 2, the break at 3-4, b at 5, the emoji
// at 6-9 (two UTF-16 units), c at 10; 11 bytes in all.
const std::u16string kEditorText = u"中a\nb\U0001F600c";

TEST(EditorOffsets, ByteOffsetOfIndex) {
  const std::size_t expected[] = {0, 2, 3, 5, 6, 6, 10, 11};
  for (std::size_t index = 0; index < std::size(expected); ++index)
    EXPECT_EQ(gbk::editorByteOffset(kEditorText, index), expected[index]) << "index " << index;
  EXPECT_EQ(gbk::editorByteOffset(kEditorText, 100), 11u);
  EXPECT_EQ(gbk::editorByteOffset(u"", 0), 0u);
  EXPECT_EQ(gbk::editorByteOffset(u"", 5), 0u);
}

TEST(EditorOffsets, IndexOfByte) {
  const std::size_t expected[] = {0, 0, 1, 2, 2, 3, 4, 4, 4, 4, 6, 7, 7};
  for (std::size_t offset = 0; offset < std::size(expected); ++offset)
    EXPECT_EQ(gbk::editorIndexOfByte(kEditorText, offset), expected[offset]) << "offset " << offset;
  EXPECT_EQ(gbk::editorIndexOfByte(kEditorText, 1000), kEditorText.size());
  EXPECT_EQ(gbk::editorIndexOfByte(u"", 0), 0u);
  EXPECT_EQ(gbk::editorIndexOfByte(u"", 3), 0u);
}

TEST(EditorOffsets, BreaksCountTwoAndEndMatchesProgramBytes) {
  const std::u16string editor = u"第一段\n\n第二段 end\n";
  const std::u16string program = u"第一段\r\n\r\n第二段 end\r\n";
  EXPECT_EQ(gbk::editorByteOffset(editor, editor.size()), gbk::fromUtf16(program).size());
  EXPECT_EQ(gbk::editorByteOffset(editor, 4), 8u);   // after the first break
  EXPECT_EQ(gbk::editorIndexOfByte(editor, 7), 3u);  // between CR and LF
  EXPECT_EQ(gbk::editorIndexOfByte(editor, 8), 4u);
}

TEST(EditorOffsets, LoneCarriageReturnWeighsOne) {
  const std::u16string editor = u"a\r\nb\rc";
  // a 0, \r 1, \n 2-3, b 4, \r 5, c 6.
  EXPECT_EQ(gbk::editorByteOffset(editor, 2), 2u);
  EXPECT_EQ(gbk::editorByteOffset(editor, 3), 4u);
  EXPECT_EQ(gbk::editorByteOffset(editor, 6), 7u);
  EXPECT_EQ(gbk::editorIndexOfByte(editor, 5), 4u);
  EXPECT_EQ(gbk::editorIndexOfByte(editor, 6), 5u);
}

TEST(EditorOffsets, OffsetAndIndexRoundTrip) {
  const std::u16string text = u"春眠不觉晓，\n处处闻啼鸟。€\u4DB6 abc\n\U00020000\U0001F600\n\nend" +
                              std::u16string{char16_t(0xD800)} + u"x";
  std::vector<std::size_t> boundaries;  // every character start, and the end
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF)
      continue;
    boundaries.push_back(i);
  }
  boundaries.push_back(text.size());
  const std::size_t total = gbk::editorByteOffset(text, text.size());
  for (std::size_t index : boundaries) {
    const std::size_t offset = gbk::editorByteOffset(text, index);
    EXPECT_EQ(gbk::editorIndexOfByte(text, offset), index) << "index " << index;
  }
  std::size_t previous = 0;
  for (std::size_t offset = 0; offset <= total + 3; ++offset) {
    const std::size_t index = gbk::editorIndexOfByte(text, offset);
    const std::size_t back = gbk::editorByteOffset(text, index);
    EXPECT_LE(back, offset) << "offset " << offset;
    EXPECT_GE(index, previous) << "offset " << offset;  // monotone
    EXPECT_EQ(std::count(boundaries.begin(), boundaries.end(), index), 1) << "offset " << offset;
    previous = index;
  }
}

TEST(Codec, ConcurrentFirstUseIsSafe) {
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t, &failures] {
      const std::u16string text = u"并发\U0001F600\u4DB6€" + std::u16string(1, char16_t(u'a' + t));
      for (int k = 0; k < 200; ++k)
        if (gbk::toUtf16(gbk::fromUtf16(text)) != text) ++failures[static_cast<std::size_t>(t)];
    });
  }
  for (auto& thread : threads) thread.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace

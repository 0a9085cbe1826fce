#include "core/document_files.h"
#include "core/gbk_codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using penvox::documents::Encoding;

namespace {

const char* nameOf(Encoding e)
{
    switch (e) {
    case Encoding::Gbk: return "Gbk";
    case Encoding::Utf8: return "Utf8";
    case Encoding::Utf8Bom: return "Utf8Bom";
    case Encoding::Utf16Le: return "Utf16Le";
    case Encoding::Utf16Be: return "Utf16Be";
    }
    return "?";
}

// Little- or big-endian UTF-16 bytes of a UTF-16 text, without a mark.
std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes;
    for (const char16_t u : text) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

TEST(DocumentFiles, ExtensionIsTheTextAfterTheLastDot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/li/稿/第一章.txt", "txt"},
        {"/home/li/稿/第一章.修订.pxt", "pxt"},
        {"book.TXT", "TXT"},  // callers compare case-sensitively
        {"noext", "noext"},
        {"/home/li/README", "/home/li/README"},
        {"/home/li.wang/notes", "wang/notes"},  // the last dot of the whole path
        {"ends.", ""},
        {"", ""},
    };
    for (const auto& [path, extension] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(penvox::documents::extensionOf(path), extension);
    }
}

TEST(DocumentFiles, TitleIsTheFileNameUpToItsFirstDot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/稿/第一章.修订.txt", "第一章"},
        {"/home/li/book.txt", "book"},
        {"book.txt", "book"},
        {".hidden.txt", ""},
        {"/home/li.wang/notes", "notes"},
        {"/home/li/noext", "noext"},
        {"/home/li/", ""},
        {"", ""},
    };
    for (const auto& [path, title] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(penvox::documents::titleOf(path), title);
    }
}

TEST(DocumentFiles, DetectsTheEncodingOfAFile)
{
    struct Case {
        const char* what;
        std::string bytes;
        Encoding expected;
    };
    const Case cases[] = {
        {"empty", "", Encoding::Gbk},
        {"ASCII only", "chapter one\r\n", Encoding::Gbk},
        {"GBK Chinese", "\xB5\xDA\xD2\xBB\xD5\xC2", Encoding::Gbk},  // 第一章
        // 联通 in GBK looks like UTF-8 to a loose check, but C1 can only start an overlong form.
        {"GBK that resembles UTF-8", "\xC1\xAA\xCD\xA8", Encoding::Gbk},
        {"UTF-8 Chinese", "第一章\r\n", Encoding::Utf8},
        {"UTF-8 beyond the BMP", "😀", Encoding::Utf8},
        {"UTF-8 with a zero byte", "第\0一"s, Encoding::Utf8},
        {"UTF-8 cut inside a character", "第一\xE7\xAB", Encoding::Gbk},
        {"an overlong form", "\xE0\x80\xAF", Encoding::Gbk},
        {"an encoded surrogate", "\xED\xA0\x80", Encoding::Gbk},
        {"past U+10FFFF", "\xF4\x90\x80\x80", Encoding::Gbk},
        {"a stray continuation byte", "abc\x80", Encoding::Gbk},
        {"UTF-8 mark", "\xEF\xBB\xBF" "abc", Encoding::Utf8Bom},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", Encoding::Utf8Bom},
        {"UTF-16 LE mark", "\xFF\xFE" "a\0"s, Encoding::Utf16Le},
        {"UTF-16 BE mark", "\xFE\xFF\0a"s, Encoding::Utf16Be},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_STREQ(nameOf(penvox::documents::detect(c.bytes)), nameOf(c.expected));
    }
}

TEST(DocumentFiles, EveryEncodingRoundTripsByteForByte)
{
    // Characters inside GBK, the euro sign, and two beyond GBK that need the
    // four-byte sequences.
    const std::u16string text = u"第一章 春眠不觉晓\r\n€ 😀𠀀 end";
    const std::string programText = penvox::gbk::fromUtf16(text);
    ASSERT_EQ(penvox::gbk::toUtf16(programText), text);

    struct Case {
        Encoding encoding;
        std::string file;
    };
    const Case cases[] = {
        {Encoding::Gbk, programText},
        {Encoding::Utf8, penvox::gbk::toUtf8(programText)},
        {Encoding::Utf8Bom, std::string("\xEF\xBB\xBF") + penvox::gbk::toUtf8(programText)},
        {Encoding::Utf16Le, std::string("\xFF\xFE") + utf16(text, false)},
        {Encoding::Utf16Be, std::string("\xFE\xFF") + utf16(text, true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.encoding));
        ASSERT_EQ(penvox::documents::detect(c.file), c.encoding);
        const std::string program = penvox::documents::toProgramText(c.file, c.encoding);
        EXPECT_EQ(program, programText);
        EXPECT_EQ(penvox::documents::fromProgramText(program, c.encoding), c.file);
    }
}

TEST(DocumentFiles, GbkTextEndsAtTheFirstZeroByte)
{
    EXPECT_EQ(penvox::documents::toProgramText("\xB5\xDA\0junk"s, Encoding::Gbk), "\xB5\xDA");
    EXPECT_EQ(penvox::documents::toProgramText("\0junk"s, Encoding::Gbk), "");
    // Any other bytes are taken unchanged, valid GBK or not.
    EXPECT_EQ(penvox::documents::toProgramText("a\xFF\xB5", Encoding::Gbk), "a\xFF\xB5");
}

TEST(DocumentFiles, MalformedUnicodeFilesAreReadWithoutLosingTheRest)
{
    struct Case {
        const char* what;
        std::string file;
        Encoding encoding;
        std::string program;
    };
    const Case cases[] = {
        {"an odd last byte of UTF-16", "\xFF\xFE" "a\0b"s, Encoding::Utf16Le, std::string("a") + penvox::gbk::fromUtf8("\uFFFD")},
        {"an unpaired surrogate", "\xFE\xFF\xD8\x00\0a"s, Encoding::Utf16Be, "?a"},
        {"an invalid byte after a UTF-8 mark", "\xEF\xBB\xBF" "a\xFF" "b", Encoding::Utf8Bom, "a?b"},
        {"UTF-16 without its mark", utf16(u"ab", false), Encoding::Utf16Le, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(penvox::documents::toProgramText(c.file, c.encoding), c.program);
    }
    // Writing back always puts the mark on.
    EXPECT_EQ(penvox::documents::fromProgramText("ab", Encoding::Utf16Le), "\xFF\xFE" "a\0b\0"s);
    EXPECT_EQ(penvox::documents::fromProgramText("", Encoding::Utf8Bom), "\xEF\xBB\xBF");
    EXPECT_EQ(penvox::documents::fromProgramText("", Encoding::Utf8), "");
}

}  // namespace

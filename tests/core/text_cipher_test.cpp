#include "core/gbk_codec.h"
#include "core/text_cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

namespace {

const std::string kPrefix = "qmv517362840";
const std::string kMima = "\xC3\xDC\xC2\xEB";  // 密码 in GBK

std::string hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

std::string withKey(std::string_view suffix)
{
    std::string key = kPrefix;
    key += suffix;
    return key;
}

TEST(TextCipher, EncryptsToThePinnedBytes)
{
    struct Case {
        const char* what;
        std::string text;
        std::string key;
        const char* cipher;
    };
    const Case cases[] = {
        {"the reference vector", "1234", kPrefix, "699DE05A"},
        // A Chinese password is hashed as its GBK bytes.
        {"a Chinese password", "hello", withKey(kMima), "B02DDC594F"},
        {"Chinese text with a CR LF break", penvox::gbk::fromUtf8("第一章\r\n春眠不觉晓"), withKey(kMima),
         "6D92628EF527BF045C3C256EAD61B22A096C"},
        // Cipher bytes may hold zero bytes; every one of them is kept.
        {"a zero at the end", "1234", withKey("59"), "F1555500"},
        {"a zero inside", "hello world", withKey("3"), "05EC3B380085682A52B96B"},
        {"a zero before the end", "abcdefgh", withKey("78"), "E35BE2C9614700BB"},
        {"empty text", "", kPrefix, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string cipher = penvox::cipher::encrypt(c.text, c.key);
        EXPECT_EQ(hex(cipher), c.cipher);
        EXPECT_EQ(penvox::cipher::decryptBytes(cipher, c.key), c.text);
        EXPECT_EQ(penvox::cipher::decrypt(cipher, c.key), c.text);
    }
    // The UTF-8 bytes of the same password are another key.
    EXPECT_NE(hex(penvox::cipher::encrypt("hello", withKey("密码"))), "B02DDC594F");
}

TEST(TextCipher, EveryTextRoundTrips)
{
    std::mt19937 random(936);
    std::vector<std::string> texts = {
        "",
        "a",
        penvox::gbk::fromUtf8("春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。😀𠀀"),
        std::string(100000, 'x'),  // far past the first key-stream bytes
    };
    for (int n = 0; n < 20; ++n) {
        std::string text(random() % 600, '\0');
        for (char& c : text)
            c = static_cast<char>(random() % 255 + 1);  // any byte but zero
        texts.push_back(text);
    }
    const std::string keys[] = {"", kPrefix, withKey(kMima), std::string(300, 'k'), "\0\xff"s};
    for (const std::string& key : keys) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(hex(key) + " / " + std::to_string(text.size()));
            const std::string cipher = penvox::cipher::encrypt(text, key);
            ASSERT_EQ(cipher.size(), text.size());
            if (text.size() > 16) {
                EXPECT_NE(cipher, text);
            }
            EXPECT_EQ(penvox::cipher::decrypt(cipher, key), text);
        }
    }
}

TEST(TextCipher, DecryptTakesTheTextUpToTheFirstZero)
{
    const std::string plain = "abc\0def\0"s;
    const std::string cipher = penvox::cipher::encrypt(plain, kPrefix);
    EXPECT_EQ(penvox::cipher::decryptBytes(cipher, kPrefix), plain);
    EXPECT_EQ(penvox::cipher::decrypt(cipher, kPrefix), "abc");
    EXPECT_EQ(penvox::cipher::decrypt(penvox::cipher::encrypt("\0abc"s, kPrefix), kPrefix), "");
    EXPECT_EQ(penvox::cipher::decrypt("", kPrefix), "");
    EXPECT_EQ(penvox::cipher::decryptBytes("", kPrefix), "");
}

TEST(TextCipher, LooksLikeTextTellsWellFormedProgramTextFromNoise)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool text;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII with CR LF and tab", "one\r\ntwo\tthree\n", true},
        {"GBK Chinese", penvox::gbk::fromUtf8("第一章，春。"), true},
        {"the euro sign byte", "\x80", true},
        {"a pair whose second byte is ASCII", "\x81\x40\x81\x5D\xFE\x7E", true},
        {"four-byte sequences beyond GBK", penvox::gbk::fromUtf8("😀𠀀\u0080"), true},
        {"the replacement character itself", penvox::gbk::fromUtf8("\uFFFD"), true},
        {"a zero byte", "ab\0c"s, false},
        {"a control byte", "ab\x01", false},
        {"escape", "\x1B[0m", false},
        {"DEL", "ab\x7F", false},
        {"byte 0xFF", "ab\xFF", false},
        {"a lead byte at the end", "ab\xB5", false},
        {"a lead byte before a control byte", "\xB5\x20", false},
        {"a lead byte before DEL", "\xB5\x7F", false},
        {"a lead byte before 0xFF", "\xB5\xFF", false},
        {"half a four-byte sequence", "\x81\x30\x81", false},
        {"a four-byte sequence with a bad third byte", "\x81\x30\x20\x30", false},
        {"a four-byte sequence with a bad fourth byte", "\x81\x30\x81\x41", false},
        {"past the last BMP four-byte code", "\x84\x31\xA5\x30", false},
        {"past U+10FFFF", "\xE3\x32\x9A\x36", false},
        {"the highest four-byte shape", "\xFE\x39\xFE\x39", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(penvox::cipher::looksLikeText(c.bytes), c.text);
    }
}

TEST(TextCipher, AWrongPasswordGivesBytesThatDoNotLookLikeText)
{
    const std::string text = penvox::gbk::fromUtf8("春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n");
    const std::string cipher = penvox::cipher::encrypt(text, withKey(kMima));
    ASSERT_TRUE(penvox::cipher::looksLikeText(penvox::cipher::decrypt(cipher, withKey(kMima))));
    for (const std::string& wrong : {kPrefix, withKey("mima"), withKey("\xC3\xDC\xC2\xEC")}) {
        SCOPED_TRACE(wrong);
        EXPECT_FALSE(penvox::cipher::looksLikeText(penvox::cipher::decrypt(cipher, wrong)));
    }
}

}  // namespace

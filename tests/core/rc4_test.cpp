#include "core/rc4.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

TEST(Rc4, MatchesPublishedVectors)
{
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        {"Key", "Plaintext", "bbf316e8d940af0ad3"},
        {"Wiki", "pedia", "1021bf0420"},
        {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(hex(penvox::rc4::crypt(bytesOf(c.key), c.plain)), c.cipher);
    }
}

TEST(Rc4, KeyStreamMatchesTheTestVectorsForA40BitKey)
{
    // The key stream is what encrypting zero bytes gives.
    const std::array<std::uint8_t, 5> key{0x01, 0x02, 0x03, 0x04, 0x05};
    const std::string stream = penvox::rc4::crypt(key, std::string(4112, '\0'));
    struct Case {
        std::size_t offset;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "b2396305f03dc027ccc3524a0a1118a8"},
        {16, "6982944f18fc82d589c403a47a0d0919"},
        {240, "28cb1132c96ce286421dcaadb8b69eae"},
        {256, "1cfcf62b03eddb641d77dfcf7f8d8c93"},
        {4096, "ff25b58995996707e51fbdf08b34d875"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(hex(std::string_view(stream).substr(c.offset, 16)), c.bytes);
    }

    const std::array<std::uint8_t, 16> key128{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(hex(penvox::rc4::crypt(key128, std::string(16, '\0'))), "9ac7cc9a609d1ef7b2932899cde41b97");
}

TEST(Rc4, AStreamContinuesWhereTheLastPieceEnded)
{
    const std::array<std::uint8_t, 5> key{0x01, 0x02, 0x03, 0x04, 0x05};
    const std::string whole = penvox::rc4::crypt(key, std::string(300, 'x'));
    penvox::rc4::Stream stream(key);
    std::string pieces;
    for (const std::size_t size : {1u, 15u, 16u, 200u, 68u}) {
        std::string piece(size, 'x');
        stream.apply(piece);
        pieces += piece;
    }
    EXPECT_EQ(pieces, whole);
    // Applying the same key stream again gives the input back.
    penvox::rc4::Stream again(key);
    std::string back = whole;
    again.apply(back);
    EXPECT_EQ(back, std::string(300, 'x'));
}

TEST(Rc4, RefusesKeysOutsideOneTo256Bytes)
{
    EXPECT_THROW(penvox::rc4::Stream(std::span<const std::uint8_t>{}), std::invalid_argument);
    const std::vector<std::uint8_t> tooLong(257, 7);
    EXPECT_THROW(penvox::rc4::Stream{tooLong}, std::invalid_argument);
    const std::vector<std::uint8_t> longest(256, 7);
    EXPECT_NO_THROW(penvox::rc4::Stream{longest});
}

}  // namespace

#include "core/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Md5, MatchesTheReferenceTestSuite)
{
    struct Case {
        std::string message;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // Lengths around the block and padding boundaries.
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
        {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
        {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.size() > 80 ? std::to_string(c.message.size()) + " bytes" : c.message);
        EXPECT_EQ(penvox::md5::toHex(penvox::md5::of(c.message)), c.digest);
    }
}

TEST(Md5, FeedingInPiecesGivesTheSameDigestAsOneCall)
{
    std::string message;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            message.push_back(static_cast<char>(b));  // every byte value, zero and 0xFF included
    const char* expected = "e6899eaaf06fd702f3ed3f988eb19362";
    ASSERT_EQ(penvox::md5::toHex(penvox::md5::of(message)), expected);

    for (const std::size_t piece : {1u, 3u, 63u, 64u, 65u, 100u}) {
        SCOPED_TRACE(piece);
        penvox::md5::Hasher hasher;
        for (std::size_t at = 0; at < message.size(); at += piece)
            hasher.update(std::string_view(message).substr(at, piece));
        EXPECT_EQ(penvox::md5::toHex(hasher.finish()), expected);
    }
}

}  // namespace

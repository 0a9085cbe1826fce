#include "core/binary_carrier.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

namespace {

TEST(BinaryCarrier, EncodesEveryByteAsTwoLowerCaseHexDigits)
{
    EXPECT_EQ(penvox::carrier::encode(""), "hex:");
    EXPECT_EQ(penvox::carrier::encode("\x00\x0f\x10\xff=A\r\n \"'"s), "hex:000f10ff3d410d0a202227");

    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string encoded = penvox::carrier::encode(all);
    ASSERT_EQ(encoded.size(), 4u + 512u);
    // Nothing the settings file would trim, unquote or split on.
    EXPECT_EQ(encoded.find_first_not_of("0123456789abcdef", 4), std::string::npos);
}

TEST(BinaryCarrier, DecodesHexAndTakesAnythingElseAsARawValue)
{
    struct Case {
        const char* what;
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {"lower-case digits", "hex:00ff3d", "\x00\xff="s},
        {"upper-case digits", "hex:00FF3D", "\x00\xff="s},
        {"mixed case", "hex:aB", "\xab"},
        {"no bytes", "hex:", ""},
        {"a raw old value", "\x93\x21zq \xff", "\x93\x21zq \xff"},
        {"empty", "", ""},
        {"an odd number of digits", "hex:abc", "hex:abc"},
        {"a non-hex digit", "hex:0g", "hex:0g"},
        {"a blank among the digits", "hex:00 1", "hex:00 1"},
        {"the prefix in other case", "HEX:41", "HEX:41"},
        {"the prefix alone, cut", "hex", "hex"},
        {"a prefix not at the start", " hex:41", " hex:41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(penvox::carrier::decode(c.stored), c.expected);
    }
}

TEST(BinaryCarrier, RoundTripsEveryByteString)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        ASSERT_EQ(penvox::carrier::decode(penvox::carrier::encode(one)), one) << "byte " << b;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string value;
        for (int n = length(random); n > 0; --n)
            value.push_back(static_cast<char>(byte(random)));
        ASSERT_EQ(penvox::carrier::decode(penvox::carrier::encode(value)), value) << "round " << round;
    }
}

}  // namespace

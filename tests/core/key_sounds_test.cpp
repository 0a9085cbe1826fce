// The three key-click sounds compiled into the program: complete RIFF/WAVE
// files of fixed sizes and formats, audible but not loud, and short.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t u32(const std::string& b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint16_t u16(const std::string& b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}
std::int16_t s16(const std::string& b, std::size_t at) { return static_cast<std::int16_t>(u16(b, at)); }

struct Sound {
    const char* file;
    std::size_t size;
    std::uint16_t channels;
    std::uint32_t rate;
    std::size_t headerSize;
};

class KeySound : public ::testing::TestWithParam<Sound> {};

TEST_P(KeySound, IsAShortQuietPcmFileOfItsFormat)
{
    const Sound& s = GetParam();
    const std::string b = readFile(std::string(PENVOX_RESOURCES) + "/sounds/" + s.file);
    ASSERT_EQ(b.size(), s.size) << s.file;

    // RIFF header and the format chunk.
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(b, 4), s.size - 8);
    EXPECT_EQ(b.substr(8, 4), "WAVE");
    EXPECT_EQ(b.substr(12, 4), "fmt ");
    const std::uint32_t fmtSize = u32(b, 16);
    ASSERT_EQ(20 + fmtSize + 8, s.headerSize);
    EXPECT_EQ(u16(b, 20), 1) << "PCM";
    EXPECT_EQ(u16(b, 22), s.channels);
    EXPECT_EQ(u32(b, 24), s.rate);
    EXPECT_EQ(u32(b, 28), s.rate * s.channels * 2) << "byte rate";
    EXPECT_EQ(u16(b, 32), s.channels * 2) << "block align";
    EXPECT_EQ(u16(b, 34), 16) << "bits";
    if (fmtSize == 18) {
        EXPECT_EQ(u16(b, 36), 0) << "cbSize";
    }

    // The data chunk fills the rest of the file with whole frames.
    const std::size_t dataAt = 20 + fmtSize;
    EXPECT_EQ(b.substr(dataAt, 4), "data");
    const std::uint32_t dataSize = u32(b, dataAt + 4);
    EXPECT_EQ(dataAt + 8 + dataSize, s.size);
    EXPECT_EQ(dataSize % (s.channels * 2u), 0u);

    // Audible but well below full scale (about -6 dBFS at its loudest), and
    // quiet from a fifth of a second on, so that fast typing does not pile up.
    int peak = 0;
    int tailPeak = 0;
    const std::size_t frameBytes = s.channels * 2u;
    const std::size_t tailFrom = s.rate / 5;
    for (std::size_t at = dataAt + 8, frame = 0; at + 1 < b.size(); at += 2, frame = (at - dataAt - 8) / frameBytes) {
        const int v = std::abs(static_cast<int>(s16(b, at)));
        peak = std::max(peak, v);
        if (frame >= tailFrom)
            tailPeak = std::max(tailPeak, v);
    }
    const double peakDb = 20 * std::log10(peak / 32768.0);
    EXPECT_GT(peakDb, -12.0) << s.file;
    EXPECT_LT(peakDb, -3.0) << s.file;
    EXPECT_LT(tailPeak, 33) << s.file << ": still sounding after 200 ms";
}

INSTANTIATE_TEST_SUITE_P(Resources, KeySound,
                         ::testing::Values(Sound{"classic.wav", 77870, 2, 44100, 46},
                                           Sound{"apple.wav", 24622, 1, 22050, 44},
                                           Sound{"drop.wav", 16430, 1, 22050, 44}),
                         [](const auto& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

}  // namespace

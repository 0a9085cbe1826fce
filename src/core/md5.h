#pragma once
// MD5 message digest, written here so the core needs no crypto library. Used
// only to derive the text cipher's key; it is not meant as a security measure.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace penvox::md5 {

using Digest = std::array<std::uint8_t, 16>;

// Incremental hashing: feed any number of pieces, then take the digest once.
class Hasher {
public:
    Hasher();
    void update(std::string_view bytes);
    // The digest of everything fed so far. The hasher is spent afterwards;
    // feed a new one for another message.
    Digest finish();

private:
    void block(const std::uint8_t* p);

    std::array<std::uint32_t, 4> state_;
    std::uint64_t length_ = 0;  // bytes fed so far
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
};

Digest of(std::string_view bytes);

// Lower-case hex, 32 digits.
std::string toHex(const Digest& digest);

}  // namespace penvox::md5

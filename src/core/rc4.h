#pragma once
// The RC4 stream cipher, written here so the core needs no crypto library.
// It keeps the documents of older installations readable; it is weak by
// today's measure and is not offered as protection against a determined reader.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace penvox::rc4 {

class Stream {
public:
    // A key of 1 to 256 bytes; any other length throws std::invalid_argument.
    explicit Stream(std::span<const std::uint8_t> key);

    // XORs the next bytes of the key stream into `data`, in place. Encrypting
    // and decrypting are the same operation.
    void apply(std::span<std::uint8_t> data);
    void apply(std::string& data);

private:
    std::array<std::uint8_t, 256> s_;
    std::uint8_t i_ = 0;
    std::uint8_t j_ = 0;
};

// One call from the start of the key stream.
std::string crypt(std::span<const std::uint8_t> key, std::string_view data);

}  // namespace penvox::rc4

#include "core/text_cipher.h"

#include "core/gbk_codec.h"
#include "core/md5.h"
#include "core/rc4.h"

#include <array>
#include <cstdint>

namespace penvox::cipher {

namespace {

std::array<std::uint8_t, 16> keyFor(std::string_view gbkKeyText)
{
    const md5::Digest digest = md5::of(gbkKeyText);
    std::array<std::uint8_t, 16> key{};  // bytes 5..15 stay zero
    for (std::size_t i = 0; i < 5; ++i)
        key[i] = digest[i];
    return key;
}

bool inRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// A four-byte sequence of the right shape may still fall outside the ranges
// GB18030 assigns; the codec knows which, and gives four U+FFFD for those
// (a real U+FFFD is one character).
bool namesACharacter(std::string_view fourBytes)
{
    const std::u16string decoded = gbk::toUtf16(fourBytes);
    return decoded != std::u16string(4, u'\uFFFD');
}

}  // namespace

std::string encrypt(std::string_view gbkText, std::string_view gbkKeyText)
{
    const auto key = keyFor(gbkKeyText);
    return rc4::crypt(key, gbkText);
}

std::string decryptBytes(std::string_view cipherBytes, std::string_view gbkKeyText)
{
    const auto key = keyFor(gbkKeyText);
    return rc4::crypt(key, cipherBytes);
}

std::string decrypt(std::string_view cipherBytes, std::string_view gbkKeyText)
{
    std::string plain = decryptBytes(cipherBytes, gbkKeyText);
    const std::size_t zero = plain.find('\0');
    if (zero != std::string::npos)
        plain.resize(zero);
    return plain;
}

bool looksLikeText(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7F)
                return false;
            ++i;
            continue;
        }
        if (c == 0x80) {  // the euro sign
            ++i;
            continue;
        }
        if (c == 0xFF || i + 1 >= bytes.size())
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (inRange(second, 0x40, 0x7E) || inRange(second, 0x80, 0xFE)) {
            i += 2;
            continue;
        }
        if (!inRange(second, 0x30, 0x39) || i + 3 >= bytes.size())
            return false;
        const auto third = static_cast<unsigned char>(bytes[i + 2]);
        const auto fourth = static_cast<unsigned char>(bytes[i + 3]);
        if (!inRange(third, 0x81, 0xFE) || !inRange(fourth, 0x30, 0x39) || !namesACharacter(bytes.substr(i, 4)))
            return false;
        i += 4;
    }
    return true;
}

}  // namespace penvox::cipher

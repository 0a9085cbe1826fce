#include "core/rc4.h"

#include <stdexcept>
#include <utility>

namespace penvox::rc4 {

Stream::Stream(std::span<const std::uint8_t> key)
{
    if (key.empty() || key.size() > 256)
        throw std::invalid_argument("an RC4 key holds 1 to 256 bytes");
    for (std::size_t n = 0; n < 256; ++n)
        s_[n] = static_cast<std::uint8_t>(n);
    std::uint8_t j = 0;
    for (std::size_t n = 0; n < 256; ++n) {
        j = static_cast<std::uint8_t>(j + s_[n] + key[n % key.size()]);
        std::swap(s_[n], s_[j]);
    }
}

void Stream::apply(std::span<std::uint8_t> data)
{
    std::uint8_t i = i_, j = j_;
    for (std::uint8_t& byte : data) {
        i = static_cast<std::uint8_t>(i + 1);
        j = static_cast<std::uint8_t>(j + s_[i]);
        std::swap(s_[i], s_[j]);
        byte ^= s_[static_cast<std::uint8_t>(s_[i] + s_[j])];
    }
    i_ = i;
    j_ = j;
}

void Stream::apply(std::string& data)
{
    apply(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(data.data()), data.size()));
}

std::string crypt(std::span<const std::uint8_t> key, std::string_view data)
{
    std::string out(data);
    Stream(key).apply(out);
    return out;
}

}  // namespace penvox::rc4

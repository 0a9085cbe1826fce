#include "core/binary_carrier.h"

namespace penvox::carrier {

namespace {

constexpr std::string_view kPrefix = "hex:";

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string encode(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(kPrefix.size() + 2 * bytes.size());
    out.append(kPrefix);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out.push_back(kDigits[u >> 4]);
        out.push_back(kDigits[u & 0x0F]);
    }
    return out;
}

std::string decode(std::string_view stored)
{
    if (stored.substr(0, kPrefix.size()) != kPrefix)
        return std::string(stored);
    const std::string_view digits = stored.substr(kPrefix.size());
    if (digits.size() % 2 != 0)
        return std::string(stored);
    std::string out;
    out.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        const int low = hexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0)
            return std::string(stored);
        out.push_back(static_cast<char>((high << 4) | low));
    }
    return out;
}

}  // namespace penvox::carrier

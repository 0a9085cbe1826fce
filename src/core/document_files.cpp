#include "core/document_files.h"

#include "core/gbk_codec.h"

#include <cstdint>

namespace penvox::documents {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Well-formed UTF-8 in the strict sense of RFC 3629; `multiByte` tells
// whether any character took more than one byte.
bool isUtf8(std::string_view bytes, bool& multiByte)
{
    multiByte = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;  // no overlong forms
            else if (c == 0xED)
                high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;  // nothing past U+10FFFF
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
                return false;
        multiByte = true;
        i += length;
    }
    return true;
}

std::u16string utf16From(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    if (i < bytes.size())
        units.push_back(u'\uFFFD');  // half a unit: shown as a replacement, not dropped unseen
    return units;
}

std::string utf16Bytes(std::u16string_view units, bool bigEndian)
{
    std::string bytes;
    bytes.reserve(2 + units.size() * 2);
    bytes.append(bigEndian ? kUtf16BeBom : kUtf16LeBom);
    for (const char16_t u : units) {
        const auto high = static_cast<char>(static_cast<std::uint16_t>(u) >> 8);
        const auto low = static_cast<char>(static_cast<std::uint16_t>(u) & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

}  // namespace

std::string extensionOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return std::string(path);
    return std::string(path.substr(dot + 1));
}

std::string titleOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name.substr(0, name.find('.')));
}

Encoding detect(std::string_view fileBytes)
{
    if (fileBytes.starts_with(kUtf8Bom))
        return Encoding::Utf8Bom;
    if (fileBytes.starts_with(kUtf16LeBom))
        return Encoding::Utf16Le;
    if (fileBytes.starts_with(kUtf16BeBom))
        return Encoding::Utf16Be;
    bool multiByte = false;
    if (isUtf8(fileBytes, multiByte) && multiByte)
        return Encoding::Utf8;
    return Encoding::Gbk;
}

std::string toProgramText(std::string_view fileBytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Gbk:
        return std::string(fileBytes.substr(0, fileBytes.find('\0')));
    case Encoding::Utf8:
        return gbk::fromUtf8(fileBytes);
    case Encoding::Utf8Bom:
        if (fileBytes.starts_with(kUtf8Bom))
            fileBytes.remove_prefix(kUtf8Bom.size());
        return gbk::fromUtf8(fileBytes);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool bigEndian = encoding == Encoding::Utf16Be;
        if (fileBytes.starts_with(bigEndian ? kUtf16BeBom : kUtf16LeBom))
            fileBytes.remove_prefix(2);
        return gbk::fromUtf16(utf16From(fileBytes, bigEndian));
    }
    }
    return std::string(fileBytes);
}

std::string fromProgramText(std::string_view programText, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Gbk:
        return std::string(programText);
    case Encoding::Utf8:
        return gbk::toUtf8(programText);
    case Encoding::Utf8Bom: {
        std::string bytes(kUtf8Bom);
        bytes += gbk::toUtf8(programText);
        return bytes;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return utf16Bytes(gbk::toUtf16(programText), encoding == Encoding::Utf16Be);
    }
    return std::string(programText);
}

}  // namespace penvox::documents

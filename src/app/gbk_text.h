#pragma once
// QString <-> the program's GBK bytes.
#include "core/gbk_codec.h"

#include <QString>
#include <string>
#include <string_view>

namespace penvox {

inline std::u16string_view utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
inline std::string toGbk(const QString& text) { return gbk::fromUtf16(utf16Of(text)); }
inline QString fromGbk(std::string_view bytes) {
    const std::u16string unicode = gbk::toUtf16(bytes);
    return QString::fromUtf16(unicode.data(), static_cast<qsizetype>(unicode.size()));
}

}  // namespace penvox

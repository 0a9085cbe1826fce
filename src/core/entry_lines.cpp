#include "core/entry_lines.h"

#include <array>
#include <initializer_list>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/gbk_codec.h"
#include "core/numbers.h"

namespace penvox::entries {
namespace {

constexpr std::string_view kBreak = "\r\n";

// C's "%.13g" in the C locale; -0 prints as "0", as a price of nothing should.
std::string percent13g(double value)
{
    if (value == 0)
        return "0";
    std::array<char, 64> buffer{};
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 13);
    return std::string(buffer.data(), r.ptr);
}

// The number cut toward zero, as the low 32 bits of a two's-complement
// whole number: adding these words with unsigned wrap-around gives the sum a
// 32-bit signed total would hold. Beyond the 64-bit range the number is held
// at its end; NaN counts 0.
std::uint32_t wrappedWhole(double value)
{
    const double whole = std::trunc(value);
    if (std::isnan(whole))
        return 0;
    constexpr double kTwoTo63 = 9223372036854775808.0;
    std::int64_t wide = 0;
    if (whole >= kTwoTo63)
        wide = std::numeric_limits<std::int64_t>::max();
    else if (whole <= -kTwoTo63)
        wide = std::numeric_limits<std::int64_t>::min();
    else
        wide = static_cast<std::int64_t>(whole);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide));
}

void replaceQuoteMarker(std::string& marker, std::string_view quoteWord)
{
    for (std::size_t at = marker.find(quoteWord); at != std::string::npos; at = marker.find(quoteWord, at + 1))
        marker.replace(at, quoteWord.size(), 1, '"');
}

}  // namespace

std::string scheduleLine(bool withBreak, int year, int month, int day, std::string_view hour,
                         std::string_view minute, std::string_view content)
{
    std::string line = withBreak ? std::string(kBreak) : std::string();
    line += '[';
    line += std::to_string(year);
    line += "年";
    line += std::to_string(month);
    line += "月";
    line += std::to_string(day);
    line += "日 ";
    line += hour.empty() ? std::string_view("*") : hour;
    line += "时";
    line += minute.empty() ? std::string_view("*") : minute;
    line += "分]### ";
    line += content;
    return line;
}

std::string priceText(std::string_view unitPrice, std::string_view quantity)
{
    const double price = numbers::toNumber(gbk::fromUtf8(unitPrice));
    const double count = numbers::toNumber(gbk::fromUtf8(quantity));
    return percent13g(price * count);
}

std::string shoppingLine(bool withBreak, std::string_view name, std::string_view quantity, std::string_view price)
{
    std::string line = withBreak ? std::string(kBreak) : std::string();
    line += "[购物清单 #商品名称： ";
    line += name.empty() ? std::string_view(kDefaultName) : name;
    line += "   #商品数量： ";
    line += quantity.empty() ? std::string_view(kDefaultQuantity) : quantity;
    line += "   #预计价格： ";
    line += price.empty() ? std::string_view(kDefaultUnitPrice) : price;
    line += withBreak ? "元]###" : "元]### ";
    return line;
}

std::string totalLine(bool withBreak, std::int32_t total)
{
    std::string line = withBreak ? std::string(kBreak) : std::string();
    line += "[购物清单 #预计总计： ";
    line += std::to_string(total);
    line += "元]###";
    return line;
}

std::int32_t shoppingTotal(std::string_view gbkText)
{
    static const std::string priceMarker = gbk::fromUtf8("#预计价格：");
    static const std::string yuan = gbk::fromUtf8("元");
    std::uint32_t total = 0;
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t lineEnd = gbkText.find(kBreak, lineStart);
        const std::string_view line =
            gbkText.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - lineStart);
        total += wrappedWhole(numbers::toNumber(textBetween(line, priceMarker, yuan)));
        if (lineEnd == std::string_view::npos)
            break;
        lineStart = lineEnd + kBreak.size();
    }
    return static_cast<std::int32_t>(total);
}

std::string textBetween(std::string_view text, std::string_view start, std::string_view end, std::size_t from)
{
    // "#引号" may come in either of the program's encodings; neither byte
    // sequence can occur inside a text of the other encoding by accident.
    static const std::string quoteWordGbk = gbk::fromUtf8("#引号");
    std::string startMarker(start);
    std::string endMarker(end);
    for (std::string* marker : {&startMarker, &endMarker}) {
        replaceQuoteMarker(*marker, "#引号");
        replaceQuoteMarker(*marker, quoteWordGbk);
    }
    if (from > text.size())
        return std::string();
    const std::size_t found = text.find(startMarker, from);
    if (found == std::string_view::npos)
        return std::string();
    const std::size_t begin = found + startMarker.size();
    const std::size_t stop = text.find(endMarker, begin);
    if (stop == std::string_view::npos)
        return std::string();
    return std::string(text.substr(begin, stop - begin));
}

}  // namespace penvox::entries

#pragma once
// The bracketed lines of schedule and shopping-list texts, and the price
// total read back from them. Texts are UTF-8 unless said otherwise.
#include <cstdint>
#include <string>
#include <string_view>

namespace penvox::entries {

// "\r\n[2017年5月1日 9时30分]### 开会" (the break only with withBreak); an
// empty hour or minute is written as "*".
std::string scheduleLine(bool withBreak, int year, int month, int day, std::string_view hour,
                         std::string_view minute, std::string_view content);

// The texts the shopping item window writes back into empty boxes.
inline constexpr const char* kDefaultUnitPrice = "0";
inline constexpr const char* kDefaultName = "神秘物品";
inline constexpr const char* kDefaultQuantity = "1";

// Unit price × quantity (each read by the text-to-number rule), "%.13g".
std::string priceText(std::string_view unitPrice, std::string_view quantity);
// "[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]### " and its
// variant with the leading break (which ends "元]###" without the space).
std::string shoppingLine(bool withBreak, std::string_view name, std::string_view quantity, std::string_view price);
// "\r\n[购物清单 #预计总计： 9元]###" (the break only with withBreak).
std::string totalLine(bool withBreak, std::int32_t total);
// The whole-number sum of the first "#预计价格：" ... "元" of every CR LF line
// of the editor's text (GBK), each cut toward zero, in a 32-bit total.
std::int32_t shoppingTotal(std::string_view gbkText);

// The text after the first `start` marker (from `from`) up to the next `end`
// marker; empty when either is missing. "#引号" in a marker stands for '"'.
std::string textBetween(std::string_view text, std::string_view start, std::string_view end, std::size_t from = 0);

}  // namespace penvox::entries

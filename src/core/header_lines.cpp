#include "core/header_lines.h"

namespace penvox::headers {

namespace {
std::string datePieces(const Moment& at) {
    std::string text = std::to_string(at.year);
    text += "年";
    text += std::to_string(at.month);
    text += "月";
    text += std::to_string(at.day);
    text += "日";
    return text;
}
std::string produced(const char* kind, const Moment& at) {
    std::string text = kind;
    text += "： 产生于";
    text += timePieces(at);
    text += "    by：Penvox";
    return text;
}
}  // namespace

std::string timePieces(const Moment& at) {
    std::string text = datePieces(at);
    text += std::to_string(at.hour);
    text += "时";
    text += std::to_string(at.minute);
    text += "分";
    text += std::to_string(at.second);
    text += "秒";
    return text;
}

std::string temporaryText(const Moment& at) { return produced("临时文本", at); }
std::string schedule(const Moment& at) { return produced("P日程", at); }
std::string shoppingList(const Moment& at) { return produced("P清单", at); }

std::string diary(const Moment& at) {
    std::string text = datePieces(at);
    text += "星期";
    text += std::to_string(at.weekday);
    text += "     by：Penvox日记";
    return text;
}

}  // namespace penvox::headers

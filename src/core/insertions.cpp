#include "core/insertions.h"

#include <algorithm>

namespace penvox::insertions {

std::string timeStamp(const headers::Moment& at)
{
    std::string text = std::to_string(at.year);
    text += "年";
    text += std::to_string(at.month);
    text += "月";
    text += std::to_string(at.day);
    text += "日 ";
    text += std::to_string(at.hour);
    text += "：";
    text += std::to_string(at.minute);
    text += "：";
    text += std::to_string(at.second);
    return text;
}

std::string dividerLine()
{
    const std::string hyphens(33, '-');
    std::string text = "\r\n";
    text += hyphens;
    text += "分割线";
    text += hyphens;
    text += "\r\n";
    return text;
}

Spliced insertAt(std::string_view text, std::size_t at, std::string_view inserted)
{
    at = std::min(at, text.size());
    Spliced out;
    out.text.reserve(text.size() + inserted.size());
    out.text.append(text.substr(0, at));
    out.text.append(inserted);
    out.text.append(text.substr(at));
    out.caret = at + inserted.size();
    return out;
}

}  // namespace penvox::insertions

#include "core/arithmetic.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

#include "core/gbk_codec.h"

namespace penvox::arithmetic {
namespace {

// Longer texts are refused before they are decoded, and deeper nesting is
// refused before it can exhaust the stack.
constexpr std::size_t kMaxBytes = std::size_t{1} << 20;
constexpr int kMaxDepth = 256;

bool isLineTerminator(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// JavaScript's white space: the ASCII blanks, NBSP, the byte-order mark and
// every space separator of Unicode (the ideographic space among them).
bool isWhiteSpace(char16_t c)
{
    switch (c) {
    case u'\t':
    case 0x0B:
    case 0x0C:
    case u' ':
    case 0x00A0:
    case 0xFEFF:
    case 0x1680:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A character that may not follow a numeric literal directly ("3in", "1_000",
// "2x"): letters, digits and anything outside ASCII that is not white space.
bool mayNotFollowNumber(char16_t c)
{
    if (isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'$' || c == u'_' ||
        c == u'\\')
        return true;
    return c >= 0x80 && !isWhiteSpace(c) && !isLineTerminator(c);
}

class Parser {
public:
    explicit Parser(std::u16string_view text) : s_(text) {}

    // A list of statements, as eval takes it: expressions separated by ";" or
    // by a line break where the next line cannot continue the expression
    // ("1\n2"). The value is that of the last expression; only empty
    // statements give no value.
    std::optional<double> program()
    {
        std::optional<double> last;
        skipBlanks();
        while (!atEnd()) {
            if (peek() == u';') {
                ++i_;
                skipBlanks();
                continue;
            }
            const std::optional<double> value = expression();
            if (!value)
                return std::nullopt;
            last = value;
            skipBlanks();
            if (atEnd())
                break;
            if (peek() == u';') {
                ++i_;
                skipBlanks();
                continue;
            }
            // Only a new literal on a new line ends the statement by itself;
            // "(" would call the value, and anything else is a syntax error.
            if (!(lineBreakBehind() && startsNumber()))
                return std::nullopt;
        }
        return last;
    }

private:
    std::u16string_view s_;
    std::size_t i_ = 0;
    int depth_ = 0;

    bool atEnd() const { return i_ >= s_.size(); }
    char16_t peek(std::size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : u'\0'; }

    void skipBlanks()
    {
        while (!atEnd() && (isWhiteSpace(s_[i_]) || isLineTerminator(s_[i_])))
            ++i_;
    }

    // Whether the blanks just before the current position hold a line break.
    bool lineBreakBehind() const
    {
        for (std::size_t j = i_; j > 0; --j) {
            if (isLineTerminator(s_[j - 1]))
                return true;
            if (!isWhiteSpace(s_[j - 1]))
                return false;
        }
        return false;
    }

    bool startsNumber() const { return isDigit(peek()) || (peek() == u'.' && isDigit(peek(1))); }

    // Reads a "+" or "-" token. "++" and "--" are increment and decrement,
    // which cannot apply to a number: a syntax error.
    bool takeSign(char16_t& sign)
    {
        const char16_t c = peek();
        if (c != u'+' && c != u'-')
            return false;
        sign = c;
        ++i_;
        return true;
    }
    bool doubledSign(char16_t sign) const { return peek() == sign; }

    std::optional<double> expression()
    {
        std::optional<double> left = term();
        if (!left)
            return std::nullopt;
        double value = *left;
        for (;;) {
            skipBlanks();
            char16_t op = 0;
            if (!takeSign(op))
                return value;
            if (doubledSign(op))
                return std::nullopt;
            const std::optional<double> right = term();
            if (!right)
                return std::nullopt;
            value = op == u'+' ? value + *right : value - *right;
        }
    }

    std::optional<double> term()
    {
        std::optional<double> left = unary();
        if (!left)
            return std::nullopt;
        double value = *left;
        for (;;) {
            skipBlanks();
            const char16_t op = peek();
            if (op != u'*' && op != u'/' && op != u'%')
                return value;
            ++i_;
            const std::optional<double> right = unary();
            if (!right)
                return std::nullopt;
            if (op == u'*')
                value *= *right;
            else if (op == u'/')
                value /= *right;
            else
                value = std::fmod(value, *right);  // JavaScript's remainder: the dividend's sign
        }
    }

    // Any number of signs before a primary, read in a loop so that a long run
    // of them costs no stack.
    std::optional<double> unary()
    {
        bool negate = false;
        for (;;) {
            skipBlanks();
            char16_t sign = 0;
            if (!takeSign(sign))
                break;
            if (doubledSign(sign))
                return std::nullopt;
            if (sign == u'-')
                negate = !negate;
        }
        const std::optional<double> value = primary();
        if (!value)
            return std::nullopt;
        return negate ? -*value : *value;
    }

    std::optional<double> primary()
    {
        skipBlanks();
        if (peek() == u'(') {
            if (depth_ >= kMaxDepth)
                return std::nullopt;
            ++i_;
            ++depth_;
            const std::optional<double> value = expression();
            --depth_;
            skipBlanks();
            if (!value || peek() != u')')
                return std::nullopt;
            ++i_;
            return value;
        }
        if (startsNumber())
            return number();
        return std::nullopt;
    }

    // A decimal literal: digits, an optional fraction, an optional exponent;
    // ".5" and "5." as JavaScript takes them. A leading zero followed by
    // digits 0-7 only is an octal literal, which is not arithmetic here; with
    // an 8 or 9 among them it is a decimal number ("09" is 9).
    std::optional<double> number()
    {
        std::string digits;  // integer and fraction digits, without the point
        std::size_t integerDigits = 0;
        while (isDigit(peek())) {
            digits += static_cast<char>(peek());
            ++integerDigits;
            ++i_;
        }
        if (integerDigits > 1 && digits[0] == '0' && digits.find_first_of("89") == std::string::npos)
            return std::nullopt;
        if (peek() == u'.') {
            ++i_;
            while (isDigit(peek())) {
                digits += static_cast<char>(peek());
                ++i_;
            }
        }
        long long exponent = 0;
        if (peek() == u'e' || peek() == u'E') {
            ++i_;
            bool negativeExponent = false;
            if (peek() == u'+' || peek() == u'-') {
                negativeExponent = peek() == u'-';
                ++i_;
            }
            if (!isDigit(peek()))
                return std::nullopt;
            // Past a billion the exponent decides alone: the literal itself
            // is at most a mebibyte long.
            while (isDigit(peek())) {
                if (exponent < 1000000000)
                    exponent = exponent * 10 + (peek() - u'0');
                ++i_;
            }
            if (negativeExponent)
                exponent = -exponent;
        }
        if (!atEnd() && mayNotFollowNumber(peek()))
            return std::nullopt;
        return decimalValue(digits, integerDigits, exponent);
    }

    // The double nearest to 0.d1d2d3... x 10^magnitude. However many digits
    // the literal has, the conversion sees at most kKeptDigits of them and a
    // sticky digit standing for the rest, which rounds exactly as all of them
    // would (no double needs more than 767 significant digits to decide).
    static double decimalValue(const std::string& digits, std::size_t integerDigits, long long exponent)
    {
        constexpr std::size_t kKeptDigits = 800;
        const std::size_t firstSignificant = digits.find_first_not_of('0');
        if (firstSignificant == std::string::npos)
            return 0.0;
        const long long magnitude =
            static_cast<long long>(integerDigits) - static_cast<long long>(firstSignificant) + exponent;
        if (magnitude > 400)
            return std::numeric_limits<double>::infinity();
        if (magnitude < -400)
            return 0.0;
        std::string text = "0.";
        std::string_view significant = std::string_view(digits).substr(firstSignificant);
        if (significant.size() > kKeptDigits) {
            const bool restNonZero = significant.substr(kKeptDigits).find_first_not_of('0') != std::string_view::npos;
            significant = significant.substr(0, kKeptDigits);
            text += significant;
            if (restNonZero)
                text += '1';
        } else {
            text += significant;
        }
        text += 'e';
        text += std::to_string(magnitude);
        double value = 0.0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
        if (r.ec == std::errc::result_out_of_range)
            return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return value;
    }
};

}  // namespace

std::optional<double> evaluate(std::string_view gbkExpression)
{
    if (gbkExpression.size() > kMaxBytes)
        return std::nullopt;
    const std::u16string text = gbk::toUtf16(gbkExpression);
    return Parser(text).program();
}

std::string formatNumber(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0)
        return "0";

    // The shortest digits that read back as the same double, and the decimal
    // exponent n such that the value is 0.d1d2... x 10^n.
    std::array<char, 64> buffer{};
    const double magnitude = std::fabs(value);
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                 std::chars_format::scientific);
    const std::string_view sci(buffer.data(), static_cast<std::size_t>(r.ptr - buffer.data()));
    const std::size_t e = sci.find('e');
    std::string digits;
    for (const char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    int exponent10 = 0;
    std::string_view expText = sci.substr(e + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent10);
    const int k = static_cast<int>(digits.size());
    const int n = exponent10 + 1;

    std::string text = value < 0 ? "-" : "";
    if (k <= n && n <= 21) {
        text += digits;
        text.append(static_cast<std::size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        text.append(digits, 0, static_cast<std::size_t>(n));
        text += '.';
        text.append(digits, static_cast<std::size_t>(n));
    } else if (-6 < n && n <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-n), '0');
        text += digits;
    } else {
        text += digits[0];
        if (k > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'e';
        text += n - 1 >= 0 ? '+' : '-';
        text += std::to_string(std::abs(n - 1));
    }
    return text;
}

std::string calculate(std::string_view gbkExpression)
{
    const std::optional<double> value = evaluate(gbkExpression);
    return value ? formatNumber(*value) : std::string();
}

}  // namespace penvox::arithmetic
